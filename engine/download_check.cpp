#include "engine/download_check.h"

namespace kestrune {
namespace {

const size_t kDigestLength = 32;

wchar_t FoldHexLetter(wchar_t c) {
  return (c >= L'A' && c <= L'F') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

bool Md5TextMatches(const std::wstring& digest, const std::wstring& expected) {
  if (digest.size() != kDigestLength || expected.size() < kDigestLength) return false;
  for (size_t i = 0; i < kDigestLength; ++i) {
    if (digest[i] != FoldHexLetter(expected[i])) return false;
  }
  return true;
}

}  // namespace kestrune
