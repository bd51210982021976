#include "platform/md5.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrune {
namespace {

std::wstring Hex(const std::string& text) { return Md5Hex(text.data(), text.size()); }

TEST(Md5, ReferenceVectors) {
  const struct {
    const char* input;
    const wchar_t* digest;
  } cases[] = {
      {"", L"d41d8cd98f00b204e9800998ecf8427e"},
      {"a", L"0cc175b9c0f1b6a831c399e269772661"},
      {"abc", L"900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", L"f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", L"c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       L"d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       L"57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Hex(c.input), c.digest) << c.input;
}

// The padding takes one block or two depending on how much of the last block is used: 55 bytes
// still fit the length, 56 do not; 64 leave nothing buffered.
TEST(Md5, LengthsAroundTheBlockBoundary) {
  const struct {
    size_t length;
    const wchar_t* digest;
  } cases[] = {
      {55, L"ef1772b6dff9a122358552954ad0df65"},  {56, L"3b0c8ac703f828b04c6c197006d17218"},
      {63, L"b06521f39153d618550606be297466d5"},  {64, L"014842d480b571495a4a0363793f7367"},
      {65, L"c743a45e0d2e6a95cb859adae0248435"},  {119, L"8a7bd0732ed6a28ce75f6dabc90e1613"},
      {120, L"5f61c0ccad4cac44c75ff505e1f1e537"}, {128, L"e510683b3f5ffe4093d021808bc6ff70"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(std::string(c.length, 'a')), c.digest) << c.length << " bytes";
  }
}

TEST(Md5, MillionBytes) {
  EXPECT_EQ(Hex(std::string(1000000, 'a')), L"7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5, PiecesOfAnySizeGiveTheOneShotDigest) {
  std::vector<unsigned char> data(1000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 7 + 3);
  const std::wstring oneShot = Md5Hex(data.data(), data.size());

  const std::vector<std::vector<size_t>> splits = {
      {1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53, 59, 61, 67, 71},
      {63, 1, 64, 65, 0, 127},
      {64, 64, 64},
      {0, 0, 999},
      {200, 55, 9, 300},
  };
  for (const std::vector<size_t>& pieces : splits) {
    Md5 md5;
    size_t offset = 0;
    for (size_t piece : pieces) {
      md5.Update(data.data() + offset, piece);
      offset += piece;
    }
    md5.Update(data.data() + offset, data.size() - offset);
    unsigned char digest[Md5::kDigestSize];
    md5.Final(digest);
    EXPECT_EQ(Md5HexText(digest), oneShot) << "first piece " << pieces[0];
  }
}

TEST(Md5, ResetStartsAnew) {
  Md5 md5;
  md5.Update("junk", 4);
  unsigned char digest[Md5::kDigestSize];
  md5.Final(digest);
  md5.Reset();
  md5.Update("abc", 3);
  md5.Final(digest);
  EXPECT_EQ(Md5HexText(digest), L"900150983cd24fb0d6963f7d28e17f72");
}

TEST(Md5, HexTextIsLowerCaseHighNibbleFirst) {
  unsigned char digest[Md5::kDigestSize] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef,
                                            0xf0, 0x0f, 0xa5, 0x5a, 0x00, 0xff, 0x10, 0x9c};
  EXPECT_EQ(Md5HexText(digest), L"0123456789abcdeff00fa55a00ff109c");
}

}  // namespace
}  // namespace kestrune
