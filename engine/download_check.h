#pragma once
// Whether a finished download is the file the configuration describes: its size (ExactSize) and
// its MD5 digest.
//
// Md5TextMatches needs no system call and also builds for the host; IsDownloadAccepted
// (download_check_system.cpp) reads the file.

#include <cstdint>
#include <string>

namespace kestrune {

// Compares the 32 characters of `digest` (lower-case hexadecimal, as FileMd5Hex writes it) one
// by one with the first 32 characters of the configured `expected` value, where "A" to "F" count
// as "a" to "f". Characters of `expected` after the 32nd are not looked at; a shorter `expected`
// does not match.
bool Md5TextMatches(const std::wstring& digest, const std::wstring& expected);

// Checks the downloaded file at `path`: with a non-zero `exactSize`, the file opened for reading
// without sharing must have that size (low 32 bits; a file that cannot be opened counts as size
// 0); with a non-empty `md5`, its digest must be computable (the file exists, can be read and is
// not empty) and match `md5` as Md5TextMatches says. True when both checks pass.
bool IsDownloadAccepted(const std::wstring& path, uint32_t exactSize, const std::wstring& md5);

}  // namespace kestrune
