#include "config/ini_document.h"

#include "platform/text.h"

namespace kestrune {
namespace {

bool IsBlank(wchar_t c) { return c <= L' '; }

// A header is a line whose first non-blank character is "[" and whose last non-blank character
// is "]"; the name is everything strictly between them, blanks included.
bool ParseHeader(const std::wstring& line, std::wstring& name) {
  size_t first = 0;
  while (first < line.size() && IsBlank(line[first])) ++first;
  size_t last = line.size();
  while (last > first && IsBlank(line[last - 1])) --last;
  if (first >= last || line[first] != L'[' || line[last - 1] != L']' || last - first < 2) {
    return false;
  }
  name = line.substr(first + 1, last - first - 2);
  return true;
}

}  // namespace

const IniEntry* IniSection::FindEntry(const std::wstring& key) const {
  for (const IniEntry& entry : entries) {
    if (entry.key == key) return &entry;
  }
  return nullptr;
}

void IniDocument::Parse(const std::wstring& text) {
  sections_.clear();
  std::vector<std::wstring> lines = SplitText(text, L"\r\n");
  if (!lines.empty() && !lines.front().empty() && lines.front().front() == L'\xFEFF') {
    lines.front().erase(0, 1);
  }
  IniSection* current = nullptr;
  for (const std::wstring& line : lines) {
    if (line.empty()) continue;
    std::wstring name;
    if (ParseHeader(line, name)) {
      sections_.push_back(IniSection{name, {}});
      current = &sections_.back();
      continue;
    }
    if (current == nullptr) continue;
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) continue;
    current->entries.push_back(
        IniEntry{TrimSpaces(line.substr(0, equals)), TrimSpaces(line.substr(equals + 1))});
  }
}

const IniSection* IniDocument::FindSection(const std::wstring& name) const {
  for (const IniSection& section : sections_) {
    if (section.name == name) return &section;
  }
  return nullptr;
}

}  // namespace kestrune
