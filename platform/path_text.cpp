#include "platform/path_text.h"

#include "platform/text.h"

namespace kestrune {
namespace {

const wchar_t kLocalPrefix[] = L"\\\\?\\";
const wchar_t kUncPrefix[] = L"\\\\?\\UNC\\";
const size_t kLongPathThreshold = 247;

bool IsDrivePath(const std::wstring& path) {
  if (path.size() < 2 || path[1] != L':') return false;
  const wchar_t letter = path[0];
  return (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
}

bool IsUncPath(const std::wstring& path) { return StartsWith(path, L"\\\\"); }

// Length of the first component of SplitPath, prefix included.
size_t FirstComponentLength(const std::wstring& path) {
  size_t start = 0;
  if (StartsWith(path, kUncPrefix)) {
    start = 8;
  } else if (StartsWith(path, kLocalPrefix)) {
    start = 4;
  } else if (IsUncPath(path)) {
    start = 2;
  }
  const size_t slash = path.find(L'\\', start);
  return slash == std::wstring::npos ? path.size() : slash;
}

std::wstring TrimTrailingSpacesAndDots(const std::wstring& component) {
  if (component == L"." || component == L"..") return component;
  size_t end = component.size();
  while (end > 0 && (component[end - 1] == L' ' || component[end - 1] == L'.')) --end;
  return component.substr(0, end);
}

}  // namespace

std::wstring AddLongPathPrefix(const std::wstring& path) {
  if (path.size() <= kLongPathThreshold || StartsWith(path, kLocalPrefix)) return path;
  if (IsDrivePath(path)) return kLocalPrefix + path;
  if (IsUncPath(path)) return kUncPrefix + path.substr(2);
  return path;
}

std::wstring RemoveLongPathPrefix(const std::wstring& path) {
  if (StartsWith(path, kUncPrefix)) return L"\\\\" + path.substr(8);
  if (StartsWith(path, kLocalPrefix)) return path.substr(4);
  return path;
}

std::wstring FolderOfPath(const std::wstring& path) {
  const size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring FolderOfFolderPath(const std::wstring& path) {
  const size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return std::wstring();
  if (slash == 1 && path[0] == L'\\') return std::wstring();
  return path.substr(0, slash);
}

std::wstring FileNameOfPath(const std::wstring& path) {
  const size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring NormalizeSlashes(const std::wstring& path) {
  size_t end = path.size();
  while (end > 0 && path[end - 1] == L'\\') --end;
  size_t begin = 0;
  while (begin < end && path[begin] == L'\\') ++begin;
  const std::wstring lead = begin >= 2 ? L"\\\\" : L"";
  return lead + path.substr(begin, end - begin);
}

std::vector<std::wstring> SplitPath(const std::wstring& path) {
  std::vector<std::wstring> components;
  if (path.empty()) return components;
  const size_t first = FirstComponentLength(path);
  components.push_back(path.substr(0, first));
  if (first + 1 < path.size()) {
    for (std::wstring& piece : SplitText(path.substr(first + 1), L"\\")) {
      components.push_back(std::move(piece));
    }
  }
  return components;
}

std::wstring NormalizePath(const std::wstring& path) {
  std::wstring result;
  bool needSeparator = false;
  for (const std::wstring& component : SplitPath(path)) {
    if (needSeparator) result += L'\\';
    const std::wstring trimmed = TrimTrailingSpacesAndDots(component);
    result += trimmed;
    needSeparator = !EndsWith(trimmed, L']');
  }
  return result;
}

std::wstring ReplaceExtension(const std::wstring& path, const std::wstring& extension) {
  const size_t nameStart = path.rfind(L'\\') == std::wstring::npos ? 0 : path.rfind(L'\\') + 1;
  const size_t dot = path.rfind(L'.');
  if (dot == std::wstring::npos || dot < nameStart) return path + L"." + extension;
  return path.substr(0, dot + 1) + extension;
}

std::wstring WithTrailingBackslash(const std::wstring& folder) {
  if (folder.empty() || EndsWith(folder, L'\\')) return folder;
  return folder + L'\\';
}

}  // namespace kestrune
