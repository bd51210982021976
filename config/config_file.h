#pragma once
// Where the configuration file lies and how its bytes become text. No system calls.

#include <string>
#include <vector>

namespace kestrune {

// The configuration path of an executable: same folder and name, extension ".ini"
// (C:\Pkg\a.b.exe reads C:\Pkg\a.b.ini).
std::wstring ConfigPathForModule(const std::wstring& modulePath);

// The configuration text from the file's bytes after its two-byte mark (UTF-16 little-endian);
// an odd last byte is ignored.
std::wstring ConfigTextFromBytes(const std::vector<unsigned char>& bytes);

}  // namespace kestrune
