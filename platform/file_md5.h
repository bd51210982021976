#pragma once
// The MD5 digest of a file on disk, used to verify downloaded setups.

#include <string>

namespace kestrune {

// Sets `hex` to the 32 lower-case hexadecimal characters of the file's MD5 digest and returns
// true. The file is opened for reading while others may read and write it, and read in blocks of
// 65536 bytes; no more bytes are digested than the size it had when it was opened (data appended
// meanwhile is ignored). False, with `hex` empty, when the file cannot be opened, its size cannot
// be read, it is empty, or a read fails.
bool FileMd5Hex(const std::wstring& path, std::wstring& hex);

}  // namespace kestrune
