#pragma once
// The MD5 message digest (RFC 1321), used to check downloaded setups. No system calls: this file
// also builds for the host. Byte order is handled explicitly, so the result does not depend on
// the machine's endianness.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrune {

// An incremental digest: Update any number of times with pieces of any length, then Final once.
// After Final the context must be re-initialised with Reset before it is used again.
class Md5 {
 public:
  static const size_t kDigestSize = 16;

  Md5() { Reset(); }

  void Reset();
  void Update(const void* data, size_t size);
  // Writes the 16 digest bytes into `digest`.
  void Final(unsigned char digest[kDigestSize]);

 private:
  void Blocks(const unsigned char* data, size_t count);

  uint32_t state_[4];
  uint64_t length_;  // bytes fed so far
  unsigned char buffer_[64];
  size_t buffered_;
};

// The digest as 32 lower-case hexadecimal characters, high nibble first.
std::wstring Md5HexText(const unsigned char digest[Md5::kDigestSize]);

// The digest of `size` bytes at `data`, as Md5HexText.
std::wstring Md5Hex(const void* data, size_t size);

}  // namespace kestrune
