#include "detect/file_search_plan.h"

#include "platform/text.h"

namespace kestrune {
namespace {

// Index of the "?" that starts a depth suffix; npos when there is none (a "?" at index 0 is part
// of the name).
size_t SuffixStart(const std::wstring& text) {
  const size_t question = text.find(L'?');
  return question == 0 ? text.find(L'?', 1) : question;
}

}  // namespace

std::vector<std::wstring> FileSearchCandidates(const std::wstring& searchText,
                                               const std::vector<std::wstring>& fixedDriveRoots) {
  const size_t suffixStart = SuffixStart(searchText);
  const std::wstring namePart = searchText.substr(0, suffixStart);
  if (namePart.find_first_of(L"\\]%!") != std::wstring::npos) return {searchText};
  const std::wstring suffix =
      suffixStart == std::wstring::npos ? std::wstring() : searchText.substr(suffixStart);
  std::vector<std::wstring> candidates;
  for (const std::wstring& root : fixedDriveRoots) candidates.push_back(root + namePart + suffix);
  return candidates;
}

DepthSplit SplitSearchDepth(const std::wstring& candidate) {
  DepthSplit split;
  const size_t suffixStart = SuffixStart(candidate);
  if (suffixStart == std::wstring::npos) {
    split.path = candidate;
    return split;
  }
  split.path = candidate.substr(0, suffixStart);
  split.depth = ParseDecimal(candidate.substr(suffixStart + 1));
  return split;
}

FolderAndName SplitFolderAndName(const std::wstring& path) {
  const size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return {std::wstring(), path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace kestrune
