#include "platform/registry_path.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrune {
namespace {

TEST(RegistryRootOfPath, NamesComparedWithoutCase) {
  const struct {
    const wchar_t* path;
    RegistryRoot root;
  } cases[] = {
      {L"hklm\\Software", RegistryRoot::LocalMachine},
      {L"HKEY_LOCAL_MACHINE\\Software\\Maker", RegistryRoot::LocalMachine},
      {L"HKCU\\Software", RegistryRoot::CurrentUser},
      {L"hkey_current_user\\x", RegistryRoot::CurrentUser},
      {L"HkCr\\.txt", RegistryRoot::ClassesRoot},
      {L"HKEY_CLASSES_ROOT\\CLSID", RegistryRoot::ClassesRoot},
      {L"HKCC\\System", RegistryRoot::CurrentConfig},
      {L"HKEY_CURRENT_CONFIG\\Software", RegistryRoot::CurrentConfig},
      {L"HKU\\S-1-5-18", RegistryRoot::Users},
      {L"HKEY_USERS\\.DEFAULT", RegistryRoot::Users},
      {L"Anything\\Else", RegistryRoot::Users},
      {L"\\Software", RegistryRoot::Users},
      {L"HKLMX\\Software", RegistryRoot::Users},
      {L"HKL\\Software", RegistryRoot::Users},
      {L"HKLM", RegistryRoot::None},
      {L"", RegistryRoot::None},
      {L"HKEY_LOCAL_MACHINE/Software", RegistryRoot::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RegistryRootOfPath(c.path), c.root) << c.path;
  }
}

TEST(RegistrySubkeyOfPath, TextAfterTheFirstBackslash) {
  EXPECT_EQ(RegistrySubkeyOfPath(L"HKLM\\Software\\Maker"), L"Software\\Maker");
  EXPECT_EQ(RegistrySubkeyOfPath(L"HKLM\\"), L"");
  EXPECT_EQ(RegistrySubkeyOfPath(L"HKLM"), L"HKLM");
}

std::vector<unsigned char> Utf16Bytes(const std::wstring& text) {
  std::vector<unsigned char> bytes;
  for (wchar_t c : text) {
    bytes.push_back(static_cast<unsigned char>(c & 0xFF));
    bytes.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
  }
  return bytes;
}

struct ValueCase {
  uint32_t type;
  std::vector<unsigned char> data;
  bool ok;
  std::wstring text;
};

TEST(RegistryValueToText, StringsDwordsAndOtherTypes) {
  const std::wstring multi(L"one\0two\0\0", 9);
  const ValueCase cases[] = {
      {kRegistryString, Utf16Bytes(std::wstring(L"abc\0", 4)), true, L"abc"},
      {kRegistryString, Utf16Bytes(L"abc"), true, L"abc"},
      {kRegistryString, {}, true, L""},
      {kRegistryString, {0, 0}, true, L""},
      {kRegistryString, {'a', 0, 'b'}, true, L"a"},
      {kRegistryString, Utf16Bytes(L"\x00E9\x4E2D"), true, L"\x00E9\x4E2D"},
      {kRegistryExpandString, Utf16Bytes(std::wstring(L"%TEMP%\\x\0", 9)), true, L"%TEMP%\\x"},
      {kRegistryMultiString, Utf16Bytes(multi), true, std::wstring(L"one\0two", 7)},
      {kRegistryDword, {0xFF, 0xFF, 0xFF, 0xFF}, true, L"4294967295"},
      {kRegistryDword, {0x2A, 0, 0, 0}, true, L"42"},
      {kRegistryDword, {0x01, 0x01}, true, L"257"},
      {kRegistryDword, {}, true, L"0"},
      {3, {1, 2, 3}, false, L""},       // binary
      {11, {1, 0, 0, 0, 0, 0, 0, 0}, false, L""},  // 64-bit number
      {5, {0, 0, 0, 1}, false, L""},    // big-endian DWORD
      {0, {}, false, L""},              // no type
  };
  for (const ValueCase& c : cases) {
    std::wstring text = L"previous";
    EXPECT_EQ(RegistryValueToText(c.type, c.data.data(), c.data.size(), text), c.ok) << c.type;
    EXPECT_EQ(text, c.text) << c.type;
  }
}

}  // namespace
}  // namespace kestrune
