#pragma once
// Routines on path texts (backslash separators). No system calls: this file also builds for the
// host. Paths may carry the long-path prefixes "\\?\" and "\\?\UNC\".

#include <string>
#include <vector>

namespace kestrune {

// A drive path ("X:...") or UNC path longer than 247 characters in its long form: "\\?\" before
// a drive path, "\\?\UNC\" in place of a UNC path's two leading backslashes. Anything else,
// including a path that already has the prefix, is returned unchanged.
std::wstring AddLongPathPrefix(const std::wstring& path);

// Undoes AddLongPathPrefix: "\\?\UNC\rest" gives "\\rest", "\\?\rest" gives "rest".
std::wstring RemoveLongPathPrefix(const std::wstring& path);

// The text before the last backslash; empty when there is none.
std::wstring FolderOfPath(const std::wstring& path);

// Like FolderOfPath, but also empty when the only backslash found is the second character of a
// path that starts with a backslash (a bare UNC root such as "\\server").
std::wstring FolderOfFolderPath(const std::wstring& path);

// The text after the last backslash; the whole text when there is none.
std::wstring FileNameOfPath(const std::wstring& path);

// Without trailing backslashes, and without leading ones except that a path starting with two
// keeps exactly two.
std::wstring NormalizeSlashes(const std::wstring& path);

// The components of a path. A long-path prefix stays on the first component, which is the drive
// ("C:"), the UNC server ("\\server"), or the text before the first backslash. The rest is split at
// every backslash; empty pieces between two backslashes stay, a trailing backslash adds none.
std::vector<std::wstring> SplitPath(const std::wstring& path);

// The path rebuilt from SplitPath with trailing spaces and dots removed from each component (the
// components "." and ".." are kept as they are). Components are joined with a backslash, except
// after one that ends with "]": an unexpanded folder property carries its own separator.
std::wstring NormalizePath(const std::wstring& path);

// `path` with its file name's extension (the text after the file name's last dot) replaced by
// `extension`; a file name without a dot gets "." and `extension` appended.
// ReplaceExtension("C:\\Pkg\\setup.exe", L"LOG") gives "C:\\Pkg\\setup.LOG".
std::wstring ReplaceExtension(const std::wstring& path, const std::wstring& extension);

// `folder` followed by a backslash unless it is empty or already ends with one.
std::wstring WithTrailingBackslash(const std::wstring& folder);

}  // namespace kestrune
