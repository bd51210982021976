#include "detect/references.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "platform/system_paths.h"
#include "tests/test_support.h"

namespace kestrune {
namespace {

std::wstring Shell(int csidl) {
  wchar_t path[MAX_PATH] = {};
  ::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
  return std::wstring(path) + L"\\";
}

std::wstring Windows() {
  wchar_t path[MAX_PATH] = {};
  ::GetWindowsDirectoryW(path, MAX_PATH);
  return path;
}

TEST(ResolveFolderProperty, SystemAndShellFolders) {
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  const struct {
    const wchar_t* name;
    bool use64BitView;
    std::wstring path;
  } cases[] = {
      {L"SystemFolder", false, Shell(CSIDL_SYSTEMX86)},
      {L"SystemFolder", true, Shell(CSIDL_SYSTEM)},
      {L"System32Folder", false, std::wstring(system) + L"\\"},
      {L"WindowsFolder", false, Windows() + L"\\"},
      {L"WindowsVolume", false, Windows().substr(0, 3)},
      {L"TempFolder", false, TempFolder()},
      {L"ProgramFilesFolder", false, Shell(CSIDL_PROGRAM_FILES)},
      {L"ProgramFiles", false, Shell(CSIDL_PROGRAM_FILES)},
      {L"CommonFilesFolder", false, Shell(CSIDL_PROGRAM_FILES_COMMON)},
      {L"AppDataFolder", false, Shell(CSIDL_APPDATA)},
      {L"LocalAppDataFolder", false, Shell(CSIDL_LOCAL_APPDATA)},
      {L"CommonAppDataFolder", false, Shell(CSIDL_COMMON_APPDATA)},
      {L"DesktopFolder", false, Shell(CSIDL_DESKTOPDIRECTORY)},
      {L"FontsFolder", false, Shell(CSIDL_FONTS)},
  };
  for (const auto& c : cases) {
    std::wstring name = c.name;
    EXPECT_TRUE(ResolveFolderProperty(name, c.use64BitView)) << c.name;
    EXPECT_EQ(name, c.path) << c.name;
  }
}

TEST(ResolveFolderProperty, SystemFolderViewsDifferOnA64BitSystem) {
  std::wstring x86 = L"SystemFolder";
  std::wstring x64 = L"SystemFolder";
  ASSERT_TRUE(ResolveFolderProperty(x86, false));
  ASSERT_TRUE(ResolveFolderProperty(x64, true));
  EXPECT_NE(x86, x64);
  EXPECT_NE(x86.find(L"yswow64"), std::wstring::npos) << x86.c_str();
}

TEST(ResolveFolderProperty, UnknownNamesStayAsTheyAre) {
  for (const wchar_t* unknown : {L"NoSuchFolder", L"systemfolder", L"", L"SETUPEXEDIR "}) {
    std::wstring name = unknown;
    EXPECT_FALSE(ResolveFolderProperty(name, false)) << unknown;
    EXPECT_EQ(name, unknown);
  }
}

TEST(ResolveFolderProperty, ProgramFiles64FromTheEnvironmentFirst) {
  wchar_t saved[MAX_PATH] = {};
  const bool wasSet = ::GetEnvironmentVariableW(L"ProgramW6432", saved, MAX_PATH) > 0;
  ::SetEnvironmentVariableW(L"ProgramW6432", L"D:\\Programs64");
  std::wstring name = L"ProgramFiles64Folder";
  EXPECT_TRUE(ResolveFolderProperty(name, false));
  EXPECT_EQ(name, L"D:\\Programs64\\");

  ::SetEnvironmentVariableW(L"ProgramW6432", nullptr);
  name = L"ProgramFiles64Folder";
  EXPECT_TRUE(ResolveFolderProperty(name, false));
  EXPECT_EQ(name, Shell(CSIDL_PROGRAM_FILES));
  ::SetEnvironmentVariableW(L"ProgramW6432", wasSet ? saved : nullptr);
}

TEST(ResolveFolderProperty, SetupExeDirIsStableWhenTheCurrentFolderChanges) {
  testing::ScratchFolder scratch;
  std::wstring before = L"SETUPEXEDIR";
  ASSERT_TRUE(ResolveFolderProperty(before, false));
  EXPECT_EQ(before, testing::ProgramFolder() + L"\\");
  wchar_t current[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, current);
  ::SetCurrentDirectoryW(scratch.path().c_str());
  std::wstring after = L"SETUPEXEDIR";
  ASSERT_TRUE(ResolveFolderProperty(after, false));
  ::SetCurrentDirectoryW(current);
  EXPECT_EQ(after, before);
}

TEST(ReadEnvironmentVariable, SetEmptyAndUnset) {
  std::wstring value = L"stale";
  ::SetEnvironmentVariableW(L"KESTRUNE_TEST_VAR", L"some value");
  EXPECT_TRUE(ReadEnvironmentVariable(L"KESTRUNE_TEST_VAR", value));
  EXPECT_EQ(value, L"some value");
  ::SetEnvironmentVariableW(L"KESTRUNE_TEST_VAR", L"");
  EXPECT_TRUE(ReadEnvironmentVariable(L"KESTRUNE_TEST_VAR", value));
  EXPECT_EQ(value, L"");
  ::SetEnvironmentVariableW(L"KESTRUNE_TEST_VAR", nullptr);
  value = L"stale";
  EXPECT_FALSE(ReadEnvironmentVariable(L"KESTRUNE_TEST_VAR", value));
  EXPECT_EQ(value, L"");
}

TEST(ExpandReferences, AgainstTheRealSystem) {
  ::SetEnvironmentVariableW(L"KESTRUNE_TEST_PERCENT", L"[SystemFolder]");
  EXPECT_EQ(ExpandReferences(L"%WINDIR%\\a", false), Windows() + L"\\a");
  EXPECT_EQ(ExpandReferences(L"%KESTRUNE_NO_SUCH_VAR%\\a", false), L"\\a");
  EXPECT_EQ(ExpandReferences(L"%KESTRUNE_TEST_PERCENT%x", false), L"[SystemFolder]x");
  EXPECT_EQ(ExpandReferences(L"[WindowsFolder]x.exe", false), Windows() + L"\\x.exe");
  EXPECT_EQ(ExpandReferences(L"[NoSuchFolder]x", false), L"[NoSuchFolder]x");
  ::SetEnvironmentVariableW(L"KESTRUNE_TEST_PERCENT", nullptr);
}

// Registry references read one value, in the view asked for.
TEST(ExpandReferences, RegistryValuesInBothViews) {
  const std::wstring subkey =
      L"Software\\KestruneTest-refs-" + std::to_wstring(::GetCurrentProcessId());
  const auto write = [&subkey](REGSAM view, const wchar_t* data) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE | view, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                     static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
  };
  write(KEY_WOW64_32KEY, L"C:\\x86\\");
  write(KEY_WOW64_64KEY, L"C:\\x64\\");
  const std::wstring reference = L"!HKLM\\" + subkey + L"\\Path!bin";
  EXPECT_EQ(ExpandReferences(reference, false), L"C:\\x86\\bin");
  EXPECT_EQ(ExpandReferences(reference, true), L"C:\\x64\\bin");
  EXPECT_EQ(ExpandReferences(L"!HKLM\\" + subkey + L"\\Missing!bin", false), L"bin");
  EXPECT_EQ(ExpandReferences(L"!HKLM\\Software\\KestruneNoSuchKey\\Path!bin", false), L"bin");
  EXPECT_EQ(ExpandReferences(L"!NoBackslash!bin", false), L"bin");
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), view, 0);
  }
}

}  // namespace
}  // namespace kestrune
