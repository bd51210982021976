#include "platform/md5.h"

#include <cstring>

namespace kestrune {
namespace {

// Round functions F, H and I, in forms with as few operations as possible after `x` (the word
// the previous step has just produced): "z ^ (x & (y ^ z))" equals "(x & y) | (~x & z)".
inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) { return z ^ (x & (y ^ z)); }
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) { return x ^ (y ^ z); }
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) { return y ^ (x | ~z); }

inline uint32_t RotateLeft(uint32_t value, int shift) {
  return (value << shift) | (value >> (32 - shift));
}

// One step: a = b + ((a + f(b, c, d) + word + constant) <<< shift). Each step waits for the
// `b` of the step before; the sums that do not need it come first so that they overlap with it.
// The round function is a template argument so that every step is inlined with its own function.
template <uint32_t (*Round)(uint32_t, uint32_t, uint32_t)>
inline void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word,
                 uint32_t constant, int shift) {
  a += word + constant;
  a += Round(b, c, d);
  a = b + RotateLeft(a, shift);
}

// A step of the second round, G(b, c, d) = (b & d) | (c & ~d). The two halves have no bit in
// common, so they may be added one after the other instead of combined: "c & ~d" then needs no
// `b` and only one operation is left after it (about a tenth faster overall on 32-bit x86).
inline void StepG(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word,
                  uint32_t constant, int shift) {
  a += word + constant;
  a += c & ~d;
  a += b & d;
  a = b + RotateLeft(a, shift);
}

// Little-endian 32-bit word; compilers make this one load on little-endian machines.
inline uint32_t LoadWord(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void StoreWord(uint32_t value, unsigned char* p) {
  p[0] = static_cast<unsigned char>(value);
  p[1] = static_cast<unsigned char>(value >> 8);
  p[2] = static_cast<unsigned char>(value >> 16);
  p[3] = static_cast<unsigned char>(value >> 24);
}

// The 64 steps over one 64-byte block, unrolled: the shift amounts and constants are then
// immediate operands, which is most of the speed of a digest of this kind.
void TransformBlock(uint32_t state[4], const unsigned char* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = LoadWord(block + 4 * i);
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

  Step<F>(a, b, c, d, x[0], 0xd76aa478, 7);
  Step<F>(d, a, b, c, x[1], 0xe8c7b756, 12);
  Step<F>(c, d, a, b, x[2], 0x242070db, 17);
  Step<F>(b, c, d, a, x[3], 0xc1bdceee, 22);
  Step<F>(a, b, c, d, x[4], 0xf57c0faf, 7);
  Step<F>(d, a, b, c, x[5], 0x4787c62a, 12);
  Step<F>(c, d, a, b, x[6], 0xa8304613, 17);
  Step<F>(b, c, d, a, x[7], 0xfd469501, 22);
  Step<F>(a, b, c, d, x[8], 0x698098d8, 7);
  Step<F>(d, a, b, c, x[9], 0x8b44f7af, 12);
  Step<F>(c, d, a, b, x[10], 0xffff5bb1, 17);
  Step<F>(b, c, d, a, x[11], 0x895cd7be, 22);
  Step<F>(a, b, c, d, x[12], 0x6b901122, 7);
  Step<F>(d, a, b, c, x[13], 0xfd987193, 12);
  Step<F>(c, d, a, b, x[14], 0xa679438e, 17);
  Step<F>(b, c, d, a, x[15], 0x49b40821, 22);

  StepG(a, b, c, d, x[1], 0xf61e2562, 5);
  StepG(d, a, b, c, x[6], 0xc040b340, 9);
  StepG(c, d, a, b, x[11], 0x265e5a51, 14);
  StepG(b, c, d, a, x[0], 0xe9b6c7aa, 20);
  StepG(a, b, c, d, x[5], 0xd62f105d, 5);
  StepG(d, a, b, c, x[10], 0x02441453, 9);
  StepG(c, d, a, b, x[15], 0xd8a1e681, 14);
  StepG(b, c, d, a, x[4], 0xe7d3fbc8, 20);
  StepG(a, b, c, d, x[9], 0x21e1cde6, 5);
  StepG(d, a, b, c, x[14], 0xc33707d6, 9);
  StepG(c, d, a, b, x[3], 0xf4d50d87, 14);
  StepG(b, c, d, a, x[8], 0x455a14ed, 20);
  StepG(a, b, c, d, x[13], 0xa9e3e905, 5);
  StepG(d, a, b, c, x[2], 0xfcefa3f8, 9);
  StepG(c, d, a, b, x[7], 0x676f02d9, 14);
  StepG(b, c, d, a, x[12], 0x8d2a4c8a, 20);

  Step<H>(a, b, c, d, x[5], 0xfffa3942, 4);
  Step<H>(d, a, b, c, x[8], 0x8771f681, 11);
  Step<H>(c, d, a, b, x[11], 0x6d9d6122, 16);
  Step<H>(b, c, d, a, x[14], 0xfde5380c, 23);
  Step<H>(a, b, c, d, x[1], 0xa4beea44, 4);
  Step<H>(d, a, b, c, x[4], 0x4bdecfa9, 11);
  Step<H>(c, d, a, b, x[7], 0xf6bb4b60, 16);
  Step<H>(b, c, d, a, x[10], 0xbebfbc70, 23);
  Step<H>(a, b, c, d, x[13], 0x289b7ec6, 4);
  Step<H>(d, a, b, c, x[0], 0xeaa127fa, 11);
  Step<H>(c, d, a, b, x[3], 0xd4ef3085, 16);
  Step<H>(b, c, d, a, x[6], 0x04881d05, 23);
  Step<H>(a, b, c, d, x[9], 0xd9d4d039, 4);
  Step<H>(d, a, b, c, x[12], 0xe6db99e5, 11);
  Step<H>(c, d, a, b, x[15], 0x1fa27cf8, 16);
  Step<H>(b, c, d, a, x[2], 0xc4ac5665, 23);

  Step<I>(a, b, c, d, x[0], 0xf4292244, 6);
  Step<I>(d, a, b, c, x[7], 0x432aff97, 10);
  Step<I>(c, d, a, b, x[14], 0xab9423a7, 15);
  Step<I>(b, c, d, a, x[5], 0xfc93a039, 21);
  Step<I>(a, b, c, d, x[12], 0x655b59c3, 6);
  Step<I>(d, a, b, c, x[3], 0x8f0ccc92, 10);
  Step<I>(c, d, a, b, x[10], 0xffeff47d, 15);
  Step<I>(b, c, d, a, x[1], 0x85845dd1, 21);
  Step<I>(a, b, c, d, x[8], 0x6fa87e4f, 6);
  Step<I>(d, a, b, c, x[15], 0xfe2ce6e0, 10);
  Step<I>(c, d, a, b, x[6], 0xa3014314, 15);
  Step<I>(b, c, d, a, x[13], 0x4e0811a1, 21);
  Step<I>(a, b, c, d, x[4], 0xf7537e82, 6);
  Step<I>(d, a, b, c, x[11], 0xbd3af235, 10);
  Step<I>(c, d, a, b, x[2], 0x2ad7d2bb, 15);
  Step<I>(b, c, d, a, x[9], 0xeb86d391, 21);

  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

void Md5::Reset() {
  state_[0] = 0x67452301;
  state_[1] = 0xefcdab89;
  state_[2] = 0x98badcfe;
  state_[3] = 0x10325476;
  length_ = 0;
  buffered_ = 0;
}

void Md5::Blocks(const unsigned char* data, size_t count) {
  for (size_t i = 0; i < count; ++i) TransformBlock(state_, data + 64 * i);
}

void Md5::Update(const void* data, size_t size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  length_ += size;
  if (buffered_ > 0) {
    const size_t take = size < 64 - buffered_ ? size : 64 - buffered_;
    std::memcpy(buffer_ + buffered_, bytes, take);
    buffered_ += take;
    bytes += take;
    size -= take;
    if (buffered_ < 64) return;
    Blocks(buffer_, 1);
    buffered_ = 0;
  }
  // Whole blocks straight from the caller's memory, without a copy.
  Blocks(bytes, size / 64);
  bytes += size - size % 64;
  size %= 64;
  if (size > 0) std::memcpy(buffer_, bytes, size);
  buffered_ = size;
}

void Md5::Final(unsigned char digest[kDigestSize]) {
  const uint64_t bits = length_ * 8;
  // Padding: one 0x80 byte, zeros up to 56 bytes modulo 64, then the bit length, little-endian.
  unsigned char padding[72] = {0x80};
  const size_t padLength = buffered_ < 56 ? 56 - buffered_ : 120 - buffered_;
  for (int i = 0; i < 8; ++i) {
    padding[padLength + i] = static_cast<unsigned char>(bits >> (8 * i));
  }
  Update(padding, padLength + 8);
  for (int i = 0; i < 4; ++i) StoreWord(state_[i], digest + 4 * i);
}

std::wstring Md5HexText(const unsigned char digest[Md5::kDigestSize]) {
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  text.reserve(2 * Md5::kDigestSize);
  for (size_t i = 0; i < Md5::kDigestSize; ++i) {
    text += kDigits[digest[i] >> 4];
    text += kDigits[digest[i] & 0x0f];
  }
  return text;
}

std::wstring Md5Hex(const void* data, size_t size) {
  Md5 md5;
  md5.Update(data, size);
  unsigned char digest[Md5::kDigestSize];
  md5.Final(digest);
  return Md5HexText(digest);
}

}  // namespace kestrune
