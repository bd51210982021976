#include "detect/searches.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/fs_redirection.h"
#include "platform/unique_handle.h"
#include "tests/test_support.h"

namespace kestrune {
namespace {

class NoPayload : public PayloadProvider {
 public:
  std::wstring PayloadPath(const PrereqSearch&) const override { return std::wstring(); }
};

struct SearchCase {
  int32_t type;
  std::wstring searchString;
  const wchar_t* verMin;
  const wchar_t* verMax;
  const wchar_t* refContent;
  bool use64BitView;
  bool found;
};

// The verdict of one search alone (under operator 0 the combined result is its verdict).
bool RunOne(const SearchCase& c, std::vector<SearchOutcome>& outcomes) {
  PrereqSearch search;
  search.searchType = c.type;
  search.searchString = c.searchString;
  search.verMin = c.verMin;
  search.verMax = c.verMax;
  search.refContent = c.refContent;
  return EvaluateSearches({search}, 0, c.use64BitView, NoPayload(), outcomes);
}

void SetString(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
  ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// One test key under HKEY_LOCAL_MACHINE\Software with different content in the two views:
//   32-bit view: subkeys V4.0.30319 and Setup; values Version 4.8.03761, Dword 1,
//                Text "hello world", Num "1.2", Empty "", Multi, Binary
//   64-bit view: subkey V2.0.50727 and WideOnlyKey; values Version 2.0, Only64
class RegistrySearch : public ::testing::Test {
 protected:
  void SetUp() override {
    key32 = Create(KEY_WOW64_32KEY, subkey);
    Create(KEY_WOW64_32KEY, subkey + L"\\V4.0.30319");
    Create(KEY_WOW64_32KEY, subkey + L"\\Setup");
    SetString(key32.get(), L"Version", L"4.8.03761");
    const DWORD one = 1;
    ::RegSetValueExW(key32.get(), L"Dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
    SetString(key32.get(), L"Text", L"hello world");
    SetString(key32.get(), L"Num", L"1.2");
    SetString(key32.get(), L"Empty", L"");
    SetString(key32.get(), L"Multi", std::wstring(L"first\0second\0", 13), REG_MULTI_SZ);
    const BYTE bytes[] = {1, 2, 3};
    ::RegSetValueExW(key32.get(), L"Binary", 0, REG_BINARY, bytes, 3);

    key64 = Create(KEY_WOW64_64KEY, subkey);
    Create(KEY_WOW64_64KEY, subkey + L"\\V2.0.50727");
    Create(KEY_WOW64_64KEY, subkey + L"\\WideOnlyKey");
    SetString(key64.get(), L"Version", L"2.0");
    SetString(key64.get(), L"Only64", L"x");
  }

  void TearDown() override {
    key32.reset();
    key64.reset();
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      for (const wchar_t* child : {L"\\V4.0.30319", L"\\Setup", L"\\V2.0.50727", L"\\WideOnlyKey", L""}) {
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, (subkey + child).c_str(), view, 0);
      }
    }
  }

  static RegistryKey Create(REGSAM view, const std::wstring& path) {
    RegistryKey key;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view,
                      nullptr, key.Receive(), nullptr);
    return key;
  }

  const std::wstring subkey =
      L"Software\\KestruneTest-search-" + std::to_wstring(::GetCurrentProcessId());
  const std::wstring path = L"HKLM\\" + subkey;
  RegistryKey key32;
  RegistryKey key64;
};

TEST_F(RegistrySearch, EveryRegistryTypeInBothViews) {
  const SearchCase cases[] = {
      // 1: subkey names, version rule over the names
      {1, path, L"", L"", L"", false, true},
      {1, path, L"4.0", L"", L"", false, true},      // V4.0.30319: the letter is skipped
      {1, path, L"5.0", L"", L"", false, false},
      {1, path, L"4.0", L"", L"", true, false},      // the 64-bit view holds only V2.0.50727
      {1, path, L"2.0", L"2.9", L"", true, true},
      {1, path + L"\\Setup", L"", L"", L"", false, false},   // no subkeys: nothing collected
      {1, path + L"\\Missing", L"", L"", L"", false, false},
      // 2: the value's text as a version
      {2, path + L"\\Version", L"4.8", L"", L"", false, true},
      {2, path + L"\\Version", L"", L"4.7", L"", false, false},
      {2, path + L"\\Version", L"4.8", L"", L"", true, false},
      {2, path + L"\\Missing", L"", L"", L"", false, false},
      {2, L"HKLM\\Version", L"", L"", L"", false, false},
      // 5 and 6: the key
      {5, path, L"", L"", L"", false, true},
      {5, path + L"\\WideOnlyKey", L"", L"", L"", false, false},
      {5, path + L"\\WideOnlyKey", L"", L"", L"", true, true},
      {5, L"HKLM", L"", L"", L"", false, false},
      {6, path + L"\\WideOnlyKey", L"", L"", L"", false, true},
      {6, path + L"\\WideOnlyKey", L"", L"", L"", true, false},
      // 7 and 8: the value
      {7, path + L"\\Only64", L"", L"", L"", false, false},
      {7, path + L"\\Only64", L"", L"", L"", true, true},
      {7, path + L"\\Binary", L"", L"", L"", false, true},
      {7, path + L"\\", L"", L"", L"", false, false},       // the default value is not set
      {7, L"HKLM\\Value", L"", L"", L"", false, false},     // "HKLM" alone never opens
      {8, L"HKLM\\Value", L"", L"", L"", false, true},
      {8, path + L"\\Only64", L"", L"", L"", false, true},
      {8, path + L"\\Only64", L"", L"", L"", true, false},
      {8, L"NoBackslash", L"", L"", L"", false, true},
      // 9: comparison by letter
      {9, path + L"\\Dword", L"", L"", L"M1", false, true},
      {9, path + L"\\Text", L"", L"", L"Mhello world", false, true},
      {9, path + L"\\Text", L"", L"", L"Dhello", false, true},
      {9, path + L"\\Text", L"", L"", L"Cworld", false, true},
      {9, path + L"\\Text", L"", L"", L"Xworld", false, false},
      {9, path + L"\\Text", L"", L"", L"Shello", false, true},
      {9, path + L"\\Text", L"", L"", L"Eworld", false, true},
      {9, path + L"\\Text", L"", L"", L"Ehello", false, false},
      {9, path + L"\\Dword", L"", L"", L"G0", false, true},
      {9, path + L"\\Dword", L"", L"", L"L2", false, true},
      {9, path + L"\\Num", L"", L"", L"G0", false, false},    // the dot makes 1.2 no number
      {9, path + L"\\Empty", L"", L"", L"L1", false, true},   // empty counts as 0
      {9, path + L"\\Multi", L"", L"", L"Sfirst", false, true},
      {9, path + L"\\Dword", L"", L"", L"m1", false, false},
      {9, path + L"\\Dword", L"", L"", L"", false, false},
      {9, path + L"\\Binary", L"", L"", L"C", false, false},  // binary values do not read
      {9, path + L"\\Missing", L"", L"", L"C", false, false},
      {9, path + L"\\Only64", L"", L"", L"Mx", true, true},
      {9, path + L"\\Only64", L"", L"", L"Mx", false, false},
      // 12: value names
      {12, path, L"", L"", L"", false, true},
      {12, path + L"\\Setup", L"", L"", L"", false, false},
      {12, path + L"\\WideOnlyKey", L"", L"", L"", true, false},
      // other codes
      {13, L"", L"", L"", L"", false, true},
      {-1, L"", L"", L"", L"", false, true},
      {10, L"payload.exe", L"", L"", L"WND_HIDE", false, false},
  };
  for (const SearchCase& c : cases) {
    std::vector<SearchOutcome> outcomes;
    EXPECT_EQ(RunOne(c, outcomes), c.found)
        << "type " << c.type << " " << c.searchString << " min[" << c.verMin << "] ref["
        << c.refContent << "] 64:" << c.use64BitView;
  }
}

TEST_F(RegistrySearch, CollectedValues) {
  std::vector<SearchOutcome> outcomes;
  RunOne({1, path, L"", L"", L"", false, true}, outcomes);
  ASSERT_EQ(outcomes.size(), 1u);
  std::vector<std::wstring> subkeys = outcomes[0].values;
  std::sort(subkeys.begin(), subkeys.end());
  EXPECT_EQ(subkeys, (std::vector<std::wstring>{L"Setup", L"V4.0.30319"}));

  RunOne({2, path + L"\\Version", L"", L"", L"", true, true}, outcomes);
  EXPECT_EQ(outcomes[0].values, std::vector<std::wstring>{L"2.0"});

  RunOne({9, path + L"\\Dword", L"", L"", L"M1", false, true}, outcomes);
  EXPECT_EQ(outcomes[0].valueText, L"1");

  RunOne({12, path, L"", L"", L"", true, true}, outcomes);
  std::vector<std::wstring> names = outcomes[0].values;
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Only64", L"Version"}));
}

// File searches over a scratch tree:  root\a\b\c\probe.dll (version 10.20.30.40),
// root\a\plain.dll (no version resource).
class FileSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* folder : {L"a", L"a\\b", L"a\\b\\c"}) {
      ::CreateDirectoryW((root / folder).c_str(), nullptr);
    }
    testing::CopyFileOrFail(Fixture(L"with_version"), root / L"a\\b\\c\\probe.dll");
    testing::CopyFileOrFail(Fixture(L"no_version"), root / L"a\\plain.dll");
  }

  static std::wstring Fixture(const wchar_t* name) {
    return testing::ProgramFolder() + L"\\fixture_" + name + L".dll";
  }

  testing::ScratchFolder root;
};

TEST_F(FileSearch, DepthBoundsAndFilesWithoutVersion) {
  const std::wstring a = root / L"a";
  const SearchCase cases[] = {
      {0, root / L"a\\b\\c\\probe.dll", L"", L"", L"", false, true},
      {0, a + L"\\probe.dll", L"", L"", L"", false, false},       // depth 0: only the folder
      {0, a + L"\\probe.dll?1", L"", L"", L"", false, false},
      {0, a + L"\\probe.dll?2", L"", L"", L"", false, true},
      {0, a + L"\\probe.dll?2", L"10.0", L"", L"", false, true},
      {0, a + L"\\probe.dll?2", L"10.20.30.41", L"", L"", false, false},
      {0, a + L"\\probe.dll?2", L"", L"10.20.30.40", L"", false, true},
      {0, a + L"\\plain.dll", L"", L"", L"", false, true},        // no version, no bounds
      {0, a + L"\\plain.dll", L"0.0.0.0", L"0", L"", false, true},
      {0, a + L"\\plain.dll", L"1.0", L"", L"", false, false},
      {0, a + L"\\missing.dll?3", L"", L"", L"", false, false},
      {0, a + L"\\*.dll", L"", L"", L"", false, true},            // wildcards find, version 0
  };
  for (const SearchCase& c : cases) {
    std::vector<SearchOutcome> outcomes;
    EXPECT_EQ(RunOne(c, outcomes), c.found) << c.searchString << " min[" << c.verMin << "]";
  }
  std::vector<SearchOutcome> outcomes;
  RunOne({0, a + L"\\probe.dll?2", L"", L"", L"", false, true}, outcomes);
  EXPECT_EQ(outcomes[0].values, std::vector<std::wstring>{L"10.20.30.40"});
}

TEST_F(FileSearch, ReferencesAreExpandedInThePath) {
  ::SetEnvironmentVariableW(L"KESTRUNE_SEARCH_ROOT", root.path().c_str());
  std::vector<SearchOutcome> outcomes;
  EXPECT_TRUE(RunOne({0, L"%KESTRUNE_SEARCH_ROOT%\\a\\probe.dll?2", L"10", L"", L"", false, true},
                     outcomes));
  ::SetEnvironmentVariableW(L"KESTRUNE_SEARCH_ROOT", nullptr);
}

// A bare name is looked for at the root of every fixed drive, and as deep below as asked.
TEST(FileSearchAtDriveRoots, BareNameWithDepth) {
  const std::wstring tag = std::to_wstring(::GetCurrentProcessId());
  const std::wstring name = L"kestrune-bare-" + tag + L".dll";
  const std::wstring folder = L"C:\\kestrune-bare-" + tag;
  ::CreateDirectoryW(folder.c_str(), nullptr);
  testing::CopyFileOrFail(testing::ProgramFolder() + L"\\fixture_with_version.dll",
                          folder + L"\\" + name);
  std::vector<SearchOutcome> outcomes;
  EXPECT_FALSE(RunOne({0, name, L"", L"", L"", false, false}, outcomes));
  EXPECT_TRUE(RunOne({0, name + L"?1", L"10", L"", L"", false, true}, outcomes));
  testing::RemoveTree(folder);

  testing::CopyFileOrFail(testing::ProgramFolder() + L"\\fixture_with_version.dll",
                          L"C:\\" + name);
  EXPECT_TRUE(RunOne({0, name, L"10", L"", L"", false, true}, outcomes));
  ::DeleteFileW((L"C:\\" + name).c_str());
}

// With the 64-bit view the walk sees the native system folder, not its 32-bit twin.
TEST(FileSearchIn64BitView, RedirectionIsOffForTheWalk) {
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring name = L"kestrune-view-" + std::to_wstring(::GetCurrentProcessId()) + L".dll";
  const std::wstring path = std::wstring(system) + L"\\" + name;
  {
    FsRedirectionGuard redirection;
    redirection.Disable();
    if (!redirection.disabled()) GTEST_SKIP() << "no 64-bit system folder here";
    testing::CopyFileOrFail(testing::ProgramFolder() + L"\\fixture_with_version.dll", path);
  }
  std::vector<SearchOutcome> outcomes;
  EXPECT_TRUE(RunOne({0, L"[System32Folder]" + name, L"10", L"", L"", true, true}, outcomes));
  EXPECT_FALSE(RunOne({0, L"[System32Folder]" + name, L"10", L"", L"", false, false}, outcomes));
  FsRedirectionGuard redirection;
  redirection.Disable();
  ::DeleteFileW(path.c_str());
}

TEST(SearchOperators, CombinedOverRealSearches) {
  const PrereqSearch found{13, L"", L"", L"", L"", L""};
  const PrereqSearch missing{5, L"HKLM\\Software\\KestruneNoSuchKey", L"", L"", L"", L""};
  std::vector<SearchOutcome> outcomes;
  EXPECT_FALSE(EvaluateSearches({found, missing, found}, 0, false, NoPayload(), outcomes));
  EXPECT_EQ(outcomes.size(), 2u) << "operator 0 stops at the first miss";
  EXPECT_FALSE(outcomes.back().found);
  EXPECT_TRUE(EvaluateSearches({missing, found, missing}, 1, false, NoPayload(), outcomes));
  EXPECT_EQ(outcomes.size(), 2u) << "operator 1 stops at the first hit";
  EXPECT_TRUE(outcomes.back().found);
  EXPECT_FALSE(EvaluateSearches({found}, 2, false, NoPayload(), outcomes));
}

}  // namespace
}  // namespace kestrune
