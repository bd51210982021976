#include "platform/download_names.h"

#include "platform/text.h"

namespace kestrune {
namespace {

const size_t kLongestName = 41;

bool IsInvalidNameCharacter(wchar_t c) {
  return std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos;
}

// Index of the last character that may belong to the name: the end of the URL, or the start of
// a second "://" (a URL carried inside the query of another).
size_t LastNameCandidate(const std::wstring& url) {
  const size_t scheme = url.find(L"://");
  if (scheme != std::wstring::npos) {
    const size_t second = url.find(L"://", scheme + 4);
    if (second != std::wstring::npos) return second;
  }
  return url.size() - 1;
}

// The last character of the name: just before the first invalid character that follows the final
// dot, or `last` itself. An invalid character there makes the name empty (see FileNameFromUrl).
size_t NameLast(const std::wstring& url, size_t last) {
  const size_t dot = url.rfind(L'.', last);
  if (dot == std::wstring::npos) return last;
  for (size_t i = dot + 1; i < last; ++i) {
    if (IsInvalidNameCharacter(url[i])) return i - 1;
  }
  return last;
}

}  // namespace

std::wstring LocalPathFromUrl(const std::wstring& url) {
  size_t skip = 0;
  if (StartsWithIgnoringCase(url, L"file:///")) {
    skip = 8;
  } else if (StartsWithIgnoringCase(url, L"file://")) {
    skip = 7;
  } else {
    return std::wstring();
  }
  std::wstring path = url.substr(skip);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::wstring FileNameFromUrl(const std::wstring& url) {
  if (url.empty()) return std::wstring();
  // Walk back from the name's last character to the first invalid one, over at most 41
  // characters: a URL ending in "/" (or in a second "://") names no file.
  const size_t end = NameLast(url, LastNameCandidate(url)) + 1;
  size_t start = end;
  while (start > 0 && end - start < kLongestName && !IsInvalidNameCharacter(url[start - 1])) {
    --start;
  }
  return url.substr(start, end - start);
}

std::wstring DownloadTargetPath(const std::wstring& root, const std::wstring& url,
                                const std::wstring& folder) {
  std::wstring path = root;
  if (!path.empty() && !EndsWith(path, L'\\')) path += L'\\';
  const size_t question = folder.find(L'?');
  path += folder.substr(0, question);
  if (!path.empty() && !EndsWith(path, L'\\')) path += L'\\';
  path += question == std::wstring::npos ? FileNameFromUrl(url) : folder.substr(question + 1);
  return path;
}

}  // namespace kestrune
