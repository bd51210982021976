#pragma once
// Names of downloaded files: where the download of a URL is stored, and which URLs are local
// paths already. No system calls: this file also builds for the host.

#include <string>

namespace kestrune {

// For a "file://" or "file:///" URL (prefix compared without regard to case) the rest of the text
// with every "/" turned into "\"; empty for any other URL. No percent-decoding.
std::wstring LocalPathFromUrl(const std::wstring& url);

// The file name a download of `url` is stored under: the last path segment holding the final
// ".", cut before a query or other character that cannot appear in a file name, at most 41
// characters long; empty when the URL ends in such a character (as in ".../dl/"). Never
// contains one of the characters \ / : * ? " < > |.
std::wstring FileNameFromUrl(const std::wstring& url);

// The full path of the download of `url` below `root`: `folder` is a subfolder, optionally
// followed by "?" and an explicit file name; without one the name comes from the URL.
std::wstring DownloadTargetPath(const std::wstring& root, const std::wstring& url,
                                const std::wstring& folder);

}  // namespace kestrune
