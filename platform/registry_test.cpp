#include "platform/registry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/wow64.h"

namespace kestrune {
namespace {

TEST(ParseRegistryRoot, RootKeyForTheTextBeforeTheFirstBackslash) {
  EXPECT_EQ(ParseRegistryRoot(L"hklm\\Software"), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(ParseRegistryRoot(L"HKEY_CURRENT_USER\\Software"), HKEY_CURRENT_USER);
  EXPECT_EQ(ParseRegistryRoot(L"hkcr\\.txt"), HKEY_CLASSES_ROOT);
  EXPECT_EQ(ParseRegistryRoot(L"HKCC\\System"), HKEY_CURRENT_CONFIG);
  EXPECT_EQ(ParseRegistryRoot(L"HKU\\S-1-5-18"), HKEY_USERS);
  EXPECT_EQ(ParseRegistryRoot(L"HKEY_USERS\\.DEFAULT"), HKEY_USERS);
  EXPECT_EQ(ParseRegistryRoot(L"AnyOtherText\\.DEFAULT"), HKEY_USERS);
  EXPECT_EQ(ParseRegistryRoot(L"HKLM"), nullptr);
}

TEST(RegistryReadAccess, SixtyFourBitViewOnlyOnA64BitSystem) {
  EXPECT_EQ(RegistryReadAccess(false, false), static_cast<REGSAM>(KEY_READ));
  EXPECT_EQ(RegistryReadAccess(true, false), static_cast<REGSAM>(KEY_READ));
  EXPECT_EQ(RegistryReadAccess(false, true), static_cast<REGSAM>(KEY_READ));
  EXPECT_EQ(RegistryReadAccess(true, true), static_cast<REGSAM>(KEY_READ | KEY_WOW64_64KEY));
}

TEST(OpenRegistryPath, OpensExistingKeysOfEveryRootName) {
  for (const wchar_t* path : {L"hklm\\Software", L"HKEY_LOCAL_MACHINE\\Software\\Microsoft",
                              L"HKCU\\Software", L"HKU\\.DEFAULT", L"HKEY_USERS\\.DEFAULT",
                              L"Users\\.DEFAULT", L"HKCR\\CLSID"}) {
    EXPECT_TRUE(OpenRegistryPath(path, false).valid()) << path;
    EXPECT_TRUE(OpenRegistryPath(path, true).valid()) << path;
  }
}

TEST(OpenRegistryPath, NoRootOrMissingKeyGivesAnEmptyKey) {
  EXPECT_FALSE(OpenRegistryPath(L"HKLM", false).valid());
  EXPECT_FALSE(OpenRegistryPath(L"", false).valid());
  EXPECT_FALSE(OpenRegistryPath(L"HKLM\\Software\\No Such Key Kestrune", false).valid());
  EXPECT_FALSE(OpenRegistryPath(L"HKLM\\Software\\No Such Key Kestrune", true).valid());
}

// A key of its own under HKEY_LOCAL_MACHINE\Software, created in the 32-bit view, the 64-bit
// view or both, and deleted from both at the end.
class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest()
      : subkey_(L"Software\\KestruneTest-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter_)) {}
  ~RegistryTest() override {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, subkey_.c_str(), view, 0);
    }
  }

  const std::wstring& subkey() const { return subkey_; }
  std::wstring path() const { return L"HKLM\\" + subkey_; }

  void SetValue(REGSAM view, const std::wstring& name, DWORD type, const void* data,
                size_t size) {
    RegistryKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey_.c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS | view, nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.get(), name.c_str(), 0, type,
                               static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
              ERROR_SUCCESS);
  }
  void SetText(const std::wstring& name, DWORD type, const std::wstring& text) {
    SetValue(KEY_WOW64_32KEY, name, type, text.data(), text.size() * sizeof(wchar_t));
  }

  // The value read through OpenRegistryPath; "<failed>" when the key or the value cannot be read.
  std::wstring Read(const std::wstring& name, bool use64BitView = false) {
    const RegistryKey key = OpenRegistryPath(path(), use64BitView);
    std::wstring text = L"<previous>";
    if (!key) return L"<no key>";
    return ReadRegistryValueText(key.get(), name, text) ? text : L"<failed:" + text + L">";
  }

 private:
  static int counter_;
  std::wstring subkey_;
};

int RegistryTest::counter_ = 0;

TEST_F(RegistryTest, EachViewSeesOnlyItsOwnValues) {
  ASSERT_TRUE(IsWow64System()) << "the test prefix must be 64-bit with WoW64";
  const std::wstring only64(L"sixty-four", 11);
  const std::wstring only32(L"thirty-two", 11);
  SetValue(KEY_WOW64_64KEY, L"Only64", REG_SZ, only64.data(), only64.size() * sizeof(wchar_t));
  SetValue(KEY_WOW64_32KEY, L"Only32", REG_SZ, only32.data(), only32.size() * sizeof(wchar_t));

  EXPECT_EQ(Read(L"Only64", true), L"sixty-four");
  EXPECT_EQ(Read(L"Only32", true), L"<failed:>");
  EXPECT_EQ(Read(L"Only32", false), L"thirty-two");
  EXPECT_EQ(Read(L"Only64", false), L"<failed:>");
}

TEST_F(RegistryTest, KeyInOneViewOnlyOpensOnlyThere) {
  const DWORD one = 1;
  SetValue(KEY_WOW64_64KEY, L"x", REG_DWORD, &one, sizeof(one));
  EXPECT_TRUE(OpenRegistryPath(path(), true).valid());
  EXPECT_FALSE(OpenRegistryPath(path(), false).valid());
}

TEST_F(RegistryTest, ValueTypesAsText) {
  const DWORD largest = 4294967295u;
  SetValue(KEY_WOW64_32KEY, L"Dword", REG_DWORD, &largest, sizeof(largest));
  const unsigned char binary[] = {1, 2, 3};
  SetValue(KEY_WOW64_32KEY, L"Binary", REG_BINARY, binary, sizeof(binary));
  const ULONGLONG quad = 7;
  SetValue(KEY_WOW64_32KEY, L"Qword", REG_QWORD, &quad, sizeof(quad));
  SetText(L"Empty", REG_SZ, std::wstring(L"\0", 1));
  SetText(L"NoTerminator", REG_SZ, L"abc");
  SetText(L"Expand", REG_EXPAND_SZ, std::wstring(L"%SystemRoot%\\x\0", 15));
  SetText(L"Multi", REG_MULTI_SZ, std::wstring(L"one\0two\0\0", 9));
  SetText(L"", REG_SZ, std::wstring(L"default\0", 8));

  EXPECT_EQ(Read(L"Dword"), L"4294967295");
  EXPECT_EQ(Read(L"Binary"), L"<failed:>");
  EXPECT_EQ(Read(L"Qword"), L"<failed:>");
  EXPECT_EQ(Read(L"Empty"), L"");
  EXPECT_EQ(Read(L"NoTerminator"), L"abc");
  EXPECT_EQ(Read(L"Expand"), L"%SystemRoot%\\x");
  EXPECT_EQ(Read(L"Multi"), std::wstring(L"one\0two", 7));
  EXPECT_EQ(Read(L""), L"default");
  EXPECT_EQ(Read(L"Missing"), L"<failed:>");
}

TEST_F(RegistryTest, ValuesBeyondTheFirstBufferAreReadWhole) {
  // The first query offers 198 bytes: 98 characters and the terminator fit, 99 do not.
  for (size_t characters : {98, 99, 100, 101, 5000}) {
    std::wstring text;
    for (size_t i = 0; i < characters; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
    const std::wstring name = L"Long" + std::to_wstring(characters);
    SetText(name, REG_SZ, text + L'\0');
    EXPECT_EQ(Read(name), text) << characters;
  }
}

TEST_F(RegistryTest, EnumeratesEveryValueName) {
  const DWORD zero = 0;
  const std::wstring longName(16383, L'n');  // the longest name the system allows
  for (const std::wstring& name : {std::wstring(L"First"), std::wstring(L"Second"),
                                   std::wstring(L""), longName}) {
    SetValue(KEY_WOW64_32KEY, name, REG_DWORD, &zero, sizeof(zero));
  }
  const RegistryKey key = OpenRegistryPath(path(), false);
  ASSERT_TRUE(key.valid());
  std::vector<std::wstring> names = {L"kept"};
  EXPECT_TRUE(EnumerateValueNames(key.get(), names));
  std::sort(names.begin() + 1, names.end());
  const std::vector<std::wstring> expected = {L"kept", L"", L"First", L"Second", longName};
  EXPECT_EQ(names, expected);
}

TEST_F(RegistryTest, KeyWithoutValuesEnumeratesNothing) {
  const DWORD zero = 0;
  SetValue(KEY_WOW64_32KEY, L"x", REG_DWORD, &zero, sizeof(zero));
  RegistryKey writable;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey().c_str(), 0,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, writable.Receive()),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegDeleteValueW(writable.get(), L"x"), ERROR_SUCCESS);
  std::vector<std::wstring> names;
  EXPECT_TRUE(EnumerateValueNames(writable.get(), names));
  EXPECT_TRUE(names.empty());
}

}  // namespace
}  // namespace kestrune
