#include "launch/interboot_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/unique_handle.h"

namespace kestrune {
namespace {

// A key of this test process only: ctest runs several test programs in the same prefix at once.
std::string UniqueKeyPath() {
  static int counter = 0;
  return "KestruneInterbootTest-" + std::to_string(::GetCurrentProcessId()) + "-" +
         std::to_string(++counter);
}

bool KeyExists(const std::string& keyPath) {
  RegistryKey key;
  return ::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, key.Receive()) ==
         ERROR_SUCCESS;
}

struct StoredValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::wstring data;  // exactly the stored characters
};

// Read with the wide function: the stored text is UTF-16 whichever function wrote it, and the
// wide query returns it as stored.
StoredValue ReadValue(const std::string& keyPath, const std::wstring& name) {
  StoredValue value;
  RegistryKey key;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, key.Receive()) !=
      ERROR_SUCCESS) {
    return value;
  }
  wchar_t data[64] = {};
  DWORD size = sizeof(data);
  if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type,
                         reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
    return value;
  }
  value.exists = true;
  value.data.assign(data, size / sizeof(wchar_t));
  // The store passes the text without terminator, but RegSetValueExA itself counts one in when
  // the byte after the given data is zero, as it is after a string's characters (Windows NT does
  // this and Wine copies it). What matters is the text, so a terminator is not compared.
  if (!value.data.empty() && value.data.back() == L'\0') value.data.pop_back();
  return value;
}

// Deletes the test's key whatever the test did.
class InterbootStoreTest : public ::testing::Test {
 protected:
  ~InterbootStoreTest() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str()); }
  const std::string keyPath = UniqueKeyPath();
};

TEST_F(InterbootStoreTest, CreatesNoKeyUntilTheFirstValue) {
  InterbootStore store(keyPath, true);
  EXPECT_FALSE(KeyExists(keyPath));
  EXPECT_EQ(store.SetInt(L"FIRST", 0), kStoreWritten);
  EXPECT_TRUE(KeyExists(keyPath));
}

TEST_F(InterbootStoreTest, StoresCodesAsSignedDecimalText) {
  InterbootStore store(keyPath, true);
  const struct {
    const wchar_t* name;
    int32_t code;
    const wchar_t* text;
  } cases[] = {
      {L"REBOOT_EXIT", 3010, L"3010"},
      {L"CRASH_EXIT", static_cast<int32_t>(0xC0000005u), L"-1073741819"},
      {L"ZERO_EXIT", 0, L"0"},
      {L"ALL_BITS", -1, L"-1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(store.SetInt(c.name, c.code), kStoreWritten) << c.text;
    const StoredValue value = ReadValue(keyPath, c.name);
    EXPECT_TRUE(value.exists) << c.text;
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ)) << c.text;
    EXPECT_EQ(value.data, c.text);
  }
}

TEST_F(InterbootStoreTest, TheFirstValueOfANameStays) {
  InterbootStore store(keyPath, true);
  EXPECT_EQ(store.SetInt(L"RUNTIME_EXIT", 3010), kStoreWritten);
  EXPECT_EQ(store.SetInt(L"RUNTIME_EXIT", 1603), kStoreValueExists);
  EXPECT_EQ(ReadValue(keyPath, L"RUNTIME_EXIT").data, L"3010");
  // A later store on the same key (the run after a reboot) keeps it too.
  InterbootStore nextRun(keyPath, true);
  EXPECT_EQ(nextRun.SetString(L"RUNTIME_EXIT", L"0"), kStoreValueExists);
  EXPECT_EQ(ReadValue(keyPath, L"RUNTIME_EXIT").data, L"3010");
}

TEST_F(InterbootStoreTest, AnEmptyNameUsesTheDefaultValue) {
  InterbootStore store(keyPath, true);
  EXPECT_EQ(store.SetInt(L"", 5), kStoreWritten);
  EXPECT_EQ(store.SetInt(L"", 6), kStoreValueExists);
  const StoredValue value = ReadValue(keyPath, L"");
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(value.data, L"5");
}

TEST_F(InterbootStoreTest, AValueTooLongForTheTestBufferStillCounts) {
  InterbootStore store(keyPath, true);
  EXPECT_EQ(store.SetString(L"LONG", std::wstring(300, L'7')), kStoreWritten);
  EXPECT_EQ(store.SetInt(L"LONG", 1), kStoreValueExists);
}

TEST_F(InterbootStoreTest, CloseDeletesTheKeyOnlyWhenAsked) {
  InterbootStore store(keyPath, true);
  store.SetInt(L"A", 1);
  store.Close();
  EXPECT_FALSE(KeyExists(keyPath));

  InterbootStore kept(keyPath, true);
  kept.SetInt(L"A", 1);
  kept.SetDeleteOnClose(false);
  kept.Close();
  EXPECT_TRUE(KeyExists(keyPath));
  EXPECT_EQ(ReadValue(keyPath, L"A").data, L"1");
}

TEST_F(InterbootStoreTest, CloseOnAMissingKeyIsSilent) {
  InterbootStore store(keyPath, true);
  store.Close();
  EXPECT_FALSE(KeyExists(keyPath));
}

}  // namespace
}  // namespace kestrune
