#include "platform/file_md5.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/md5.h"
#include "platform/unique_handle.h"

namespace kestrune {
namespace {

const DWORD kBlockSize = 65536;

// Digests at most `size` bytes of `file` from its current position. False when a read fails: a
// digest of part of the file would only be mistaken for the file's own.
bool DigestFile(HANDLE file, uint64_t size, Md5& md5) {
  std::vector<unsigned char> block(kBlockSize);
  uint64_t left = size;
  while (left > 0) {
    DWORD read = 0;
    if (!::ReadFile(file, block.data(), kBlockSize, &read, nullptr)) return false;
    if (read == 0) break;
    const DWORD used = read < left ? read : static_cast<DWORD>(left);
    md5.Update(block.data(), used);
    left -= used;
  }
  return true;
}

}  // namespace

bool FileMd5Hex(const std::wstring& path, std::wstring& hex) {
  hex.clear();
  const FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0) return false;

  Md5 md5;
  if (!DigestFile(file.get(), static_cast<uint64_t>(size.QuadPart), md5)) return false;
  unsigned char digest[Md5::kDigestSize];
  md5.Final(digest);
  hex = Md5HexText(digest);
  return true;
}

}  // namespace kestrune
