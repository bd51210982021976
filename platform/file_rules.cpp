#include "platform/file_rules.h"

#include "platform/path_text.h"
#include "platform/text.h"

namespace kestrune {
namespace {

const size_t kLongPathForCallLength = 260;

std::wstring WithoutTrailingBackslashes(const std::wstring& path) {
  size_t end = path.size();
  while (end > 0 && path[end - 1] == L'\\') --end;
  return path.substr(0, end);
}

}  // namespace

bool IsUncPath(const std::wstring& path) {
  if (StartsWith(path, L"\\\\?\\")) return StartsWith(path, L"\\\\?\\UNC\\");
  return StartsWith(path, L"\\\\");
}

uint32_t PathFormError(const std::wstring& path) {
  if (path.empty()) return 87;
  if (StartsWith(path, L"\\\\")) return 0;
  if (path.size() < 2 || path[1] != L':') return 3;
  return 0;
}

std::wstring LongPathForCall(const std::wstring& path) {
  if (path.size() < kLongPathForCallLength) return path;
  return AddLongPathPrefix(path);
}

std::vector<std::wstring> FolderLevels(const std::wstring& path, bool includeLast) {
  const std::vector<std::wstring> components = SplitPath(path);
  std::vector<std::wstring> levels;
  if (components.empty()) return levels;
  const size_t end = includeLast ? components.size() : components.size() - 1;
  std::wstring level = components[0];
  for (size_t i = 1; i < end; ++i) {
    level += L'\\';
    level += components[i];
    levels.push_back(level);
  }
  return levels;
}

std::vector<std::wstring> EmptyFolderWalk(const std::wstring& path, const std::wstring& base) {
  std::vector<std::wstring> folders;
  const std::wstring root = WithoutTrailingBackslashes(base);
  if (root.empty()) return folders;
  const std::wstring below = root + L'\\';
  std::wstring folder = WithoutTrailingBackslashes(path);
  while (folder.size() > root.size() && StartsWithIgnoringCase(folder, below)) {
    folders.push_back(folder);
    folder = FolderOfPath(folder);
  }
  return folders;
}

std::wstring TempFileFinalName(const std::wstring& tempPath, const std::wstring& extension) {
  const std::wstring bare = StartsWith(extension, L".") ? extension.substr(1) : extension;
  if (bare.empty()) return tempPath;
  return ReplaceExtension(tempPath, bare);
}

}  // namespace kestrune
