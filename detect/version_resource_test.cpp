#include "detect/version_resource.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fs_redirection.h"
#include "platform/system_paths.h"
#include "platform/wow64.h"
#include "tests/test_support.h"

namespace kestrune {
namespace {

using testing::ProgramFolder;
using testing::ScratchFolder;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The test libraries built beside the test program (see cmake/test_fixtures.cmake).
std::wstring Fixture(const wchar_t* name) {
  return ProgramFolder() + L"\\fixture_" + name + L".dll";
}

std::wstring MissingFile() { return ProgramFolder() + L"\\no-such-file-here.dll"; }

OsVersionInfo Os(uint32_t major, uint32_t minor, int32_t servicePack = 0, uint32_t build = 0) {
  OsVersionInfo os;
  os.major = major;
  os.minor = minor;
  os.servicePack = servicePack;
  os.build = build;
  return os;
}

std::wstring ShellWindowsFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return std::wstring();
  }
  return path;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return names;
}

// Points this process's temporary folder (TMP) at a scratch folder while it lives, so a test
// sees exactly the temporary files that the code under test leaves behind.
class TemporaryFolderOverride {
 public:
  explicit TemporaryFolderOverride(const std::wstring& folder) {
    wchar_t previous[MAX_PATH + 1] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"TMP", previous, MAX_PATH + 1);
    hadPrevious_ = length > 0 && length <= MAX_PATH;
    previous_ = previous;
    ::SetEnvironmentVariableW(L"TMP", folder.c_str());
  }
  ~TemporaryFolderOverride() {
    ::SetEnvironmentVariableW(L"TMP", hadPrevious_ ? previous_.c_str() : nullptr);
  }

 private:
  std::wstring previous_;
  bool hadPrevious_ = false;
};

// Switches file-system redirection off for the test's own file operations in System32.
class NativeSystemFolder {
 public:
  NativeSystemFolder() { guard_.Disable(); }
  bool switchedOff() const { return guard_.disabled(); }

 private:
  FsRedirectionGuard guard_;
};

// --- Which files are read from a copy ---------------------------------------------------------

struct CopyDecisionCase {
  OsVersionInfo os;
  const wchar_t* windowsFolder;
  const wchar_t* path;
  bool expected;
};

TEST(ReadsFromTemporaryCopy, OnlyForFilesUnderTheWindowsFolderFromWindows10On) {
  const CopyDecisionCase cases[] = {
      {Os(10, 0), L"C:\\Windows", L"C:\\Windows\\System32\\a.dll", true},
      {Os(10, 0, 0, 19045), L"C:\\Windows", L"C:\\Windows\\System32\\a.dll", true},
      {Os(11, 0), L"C:\\Windows", L"C:\\Windows\\a.dll", true},
      {Os(6, 3, 0, 9600), L"C:\\Windows", L"C:\\Windows\\System32\\a.dll", false},
      {Os(6, 1, 1, 7601), L"C:\\Windows", L"C:\\Windows\\System32\\a.dll", false},
      {Os(0, 0), L"C:\\Windows", L"C:\\Windows\\System32\\a.dll", false},   // unknown system
      {Os(10, 0), L"C:\\Windows", L"C:\\Program Files\\a.dll", false},
      {Os(10, 0), L"C:\\Windows", L"c:\\windows\\System32\\a.dll", false},   // case-sensitive
      {Os(10, 0), L"C:\\Windows", L"C:\\Windows", true},                     // same length
      {Os(10, 0), L"C:\\Windows", L"C:\\Win", false},                        // shorter path
      {Os(10, 0), L"C:\\Windows", L"C:\\WindowsApps\\a.dll", true},          // a plain prefix
      {Os(10, 0), L"", L"C:\\Windows\\a.dll", false},   // the shell did not tell
      {Os(10, 0), L"C:\\Windows", L"", false},
  };
  for (const CopyDecisionCase& c : cases) {
    EXPECT_EQ(ReadsFromTemporaryCopy(c.os, c.windowsFolder, c.path), c.expected)
        << "os " << c.os.major << "." << c.os.minor << " folder [" << Narrow(c.windowsFolder)
        << "] path [" << Narrow(c.path) << "]";
  }
}

// --- File versions ------------------------------------------------------------------------------

// Windows and Wine name the lack of a version resource with different codes; the tests only
// require a failure there.
constexpr uint32_t kAnyFailure = 0xFFFFFFFF;

struct FileVersionCase {
  std::wstring path;
  uint32_t status;   // kAnyFailure: any non-zero code
  uint32_t mostSignificant;
  uint32_t leastSignificant;
};

TEST(ReadFileVersion, ReadsTheFixedBlockOrReportsWhyNot) {
  ScratchFolder scratch;
  const std::wstring textFile = scratch / L"notes.txt";
  testing::WriteBytes(textFile, {'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't'});
  const FileVersionCase cases[] = {
      {Fixture(L"with_version"), 0, 0x000A0014, 0x001E0028},   // 10.20.30.40
      {Fixture(L"no_translation"), 0, 0x00020000, 0},
      // Strings without the fixed block still count as a readable resource.
      {Fixture(L"no_fixed_info"), 0, 0, 0},
      {Fixture(L"no_version"), kAnyFailure, 0, 0},
      {textFile, kAnyFailure, 0, 0},
      {MissingFile(), ERROR_FILE_NOT_FOUND, 0, 0},
  };
  for (const FileVersionCase& c : cases) {
    FileVersion version;
    version.mostSignificant = 0xDEAD;   // must be reset on every path
    version.leastSignificant = 0xBEEF;
    const uint32_t status = ReadFileVersion(c.path, version);
    if (c.status == kAnyFailure) {
      EXPECT_NE(status, 0u) << Narrow(c.path);
    } else {
      EXPECT_EQ(status, c.status) << Narrow(c.path);
    }
    EXPECT_EQ(version.mostSignificant, c.mostSignificant) << Narrow(c.path);
    EXPECT_EQ(version.leastSignificant, c.leastSignificant) << Narrow(c.path);
  }
}

TEST(CopyToTemporaryFile, MakesAShimCloneInTheTemporaryFolder) {
  ScratchFolder temp;
  TemporaryFolderOverride useScratch(temp.path());
  const std::wstring source = Fixture(L"with_version");

  const std::wstring copy = CopyToTemporaryFile(source);

  ASSERT_FALSE(copy.empty());
  EXPECT_EQ(copy.substr(0, temp.path().size() + 1), temp.path() + L"\\");
  // The system's unique-name facility keeps only the first three letters of a prefix.
  EXPECT_EQ(copy.substr(temp.path().size() + 1, 3), L"shi") << Narrow(copy);
  EXPECT_EQ(testing::ReadBytes(copy), testing::ReadBytes(source));
  ::DeleteFileW(copy.c_str());
}

TEST(CopyToTemporaryFile, LeavesNothingBehindWhenTheCopyFails) {
  ScratchFolder temp;
  TemporaryFolderOverride useScratch(temp.path());

  EXPECT_EQ(CopyToTemporaryFile(MissingFile()), L"");
  EXPECT_TRUE(FilesIn(temp.path()).empty());
}

// On a 64-bit system a 32-bit reader is redirected from System32 to SysWOW64. The test puts
// different libraries under the same name in both, so the version read tells which file was
// read: the native one through the copy (made with redirection off), the SysWOW64 one when the
// path is read directly.
class SystemFolderVersion : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!IsWow64System()) GTEST_SKIP() << "needs a 64-bit system with a SysWOW64 folder";
    windowsFolder_ = ShellWindowsFolder();
    ASSERT_FALSE(windowsFolder_.empty());
    name_ = L"kestrune-version-" + std::to_wstring(::GetCurrentProcessId()) + L".dll";
    path_ = windowsFolder_ + L"\\system32\\" + name_;
    // Extra bytes after the image make this run's copy unlike any other file.
    nativeBytes_ = testing::ReadBytes(Fixture(L"with_version"));
    const std::string marker = "kestrune-" + Narrow(name_);
    nativeBytes_.insert(nativeBytes_.end(), marker.begin(), marker.end());
    {
      NativeSystemFolder native;
      ASSERT_TRUE(native.switchedOff());
      testing::WriteBytes(path_, nativeBytes_);
    }
    testing::WriteBytes(windowsFolder_ + L"\\syswow64\\" + name_,
                        testing::ReadBytes(Fixture(L"no_translation")));
  }
  void TearDown() override {
    if (path_.empty()) return;
    ::DeleteFileW((windowsFolder_ + L"\\syswow64\\" + name_).c_str());
    NativeSystemFolder native;
    ::DeleteFileW(path_.c_str());
  }

  std::wstring windowsFolder_;
  std::wstring name_;
  std::wstring path_;
  std::vector<unsigned char> nativeBytes_;
};

TEST_F(SystemFolderVersion, Windows10ReadsATemporaryCopyAndDeletesIt) {
  ScratchFolder temp;
  TemporaryFolderOverride useScratch(temp.path());
  FileVersion version;

  EXPECT_EQ(ReadFileVersionOn(Os(10, 0), path_, version), 0u);

  EXPECT_EQ(version.mostSignificant, 0x000A0014u);   // the native file's 10.20.30.40
  EXPECT_EQ(version.leastSignificant, 0x001E0028u);
  EXPECT_TRUE(FilesIn(temp.path()).empty()) << "the temporary copy was left behind";
}

TEST_F(SystemFolderVersion, OlderSystemsReadThePathAsGiven) {
  ScratchFolder temp;
  TemporaryFolderOverride useScratch(temp.path());
  FileVersion version;

  EXPECT_EQ(ReadFileVersionOn(Os(6, 3), path_, version), 0u);

  EXPECT_EQ(version.mostSignificant, 0x00020000u);   // the SysWOW64 file's 2.0.0.0
  EXPECT_EQ(version.leastSignificant, 0u);
  EXPECT_TRUE(FilesIn(temp.path()).empty());
}

TEST_F(SystemFolderVersion, PathsOutsideTheWindowsFolderAreReadDirectly) {
  ScratchFolder temp;
  TemporaryFolderOverride useScratch(temp.path());
  // The same Windows folder reached through a differently written path is not recognised.
  std::wstring otherSpelling = path_;
  otherSpelling[0] = static_cast<wchar_t>(::towlower(otherSpelling[0])) == otherSpelling[0]
                         ? static_cast<wchar_t>(::towupper(otherSpelling[0]))
                         : static_cast<wchar_t>(::towlower(otherSpelling[0]));
  FileVersion version;

  EXPECT_EQ(ReadFileVersionOn(Os(10, 0), otherSpelling, version), 0u);

  EXPECT_EQ(version.mostSignificant, 0x00020000u);
}

TEST_F(SystemFolderVersion, AFailedCopyFallsBackToThePath) {
  // A temporary folder that does not exist: no copy can be made there.
  ScratchFolder temp;
  TemporaryFolderOverride useMissing(temp / L"missing");
  FileVersion version;

  EXPECT_EQ(ReadFileVersionOn(Os(10, 0), path_, version), 0u);

  EXPECT_EQ(version.mostSignificant, 0x00020000u);
}

// --- Library versions ---------------------------------------------------------------------------

struct DllVersionCase {
  std::wstring library;
  bool known;
  uint32_t major;
  uint32_t minor;
};

TEST(GetDllVersion, AsksDllGetVersionElseReadsTheFileVersion) {
  const DllVersionCase cases[] = {
      // The export wins over the file version (10.20.30.40) of the same library.
      {Fixture(L"reports_dll_version"), true, 7, 3},
      {Fixture(L"refuses_dll_version"), false, 0, 0},
      {Fixture(L"with_version"), true, 10, 0},
      {Fixture(L"no_fixed_info"), true, 0, 0},   // readable resource, version 0
      {Fixture(L"no_version"), false, 0, 0},
      {MissingFile(), false, 0, 0},
  };
  for (const DllVersionCase& c : cases) {
    DllVersion version;
    version.major = 111;
    version.minor = 222;
    EXPECT_EQ(GetDllVersion(c.library, version), c.known) << Narrow(c.library);
    EXPECT_EQ(version.major, c.known ? c.major : 111u) << Narrow(c.library);
    EXPECT_EQ(version.minor, c.known ? c.minor : 222u) << Narrow(c.library);
  }
}

TEST(GetDllVersion, AsksTheShellLibraries) {
  for (const wchar_t* library : {L"Shell32.dll", L"Shlwapi.dll", L"comctl32.dll"}) {
    DllVersion version;
    EXPECT_TRUE(GetDllVersion(library, version)) << Narrow(library);
    EXPECT_GE(version.major, 5u) << Narrow(library);
  }
}

TEST(GetDllVersion, ReadsTheFileVersionOfASystemLibraryWithoutTheExport) {
  FileVersion fileVersion;
  ASSERT_EQ(ReadFileVersion(L"kernel32.dll", fileVersion), 0u);
  DllVersion version;

  ASSERT_TRUE(GetDllVersion(L"kernel32.dll", version));

  EXPECT_EQ(version.major, HIWORD(fileVersion.mostSignificant));
  EXPECT_EQ(version.minor, 0u);
  EXPECT_GE(version.major, 5u);
}

// --- Product names ------------------------------------------------------------------------------

struct ProductNameCase {
  std::wstring path;
  bool found;
  const wchar_t* name;
};

TEST(ReadProductName, UsesTheFirstTranslationElseTheDefaultBlock) {
  const ProductNameCase cases[] = {
      {Fixture(L"with_version"), true, L"Erstes Produkt"},        // first listed translation
      {Fixture(L"no_translation"), true, L"Default Product"},     // 1033 with code page 1250
      {Fixture(L"no_fixed_info"), true, L"Strings Only"},
      {Fixture(L"empty_product_name"), false, L""},   // the listed block's name is empty
      {Fixture(L"no_version"), false, L""},
      {MissingFile(), false, L""},
  };
  for (const ProductNameCase& c : cases) {
    std::wstring name = L"untouched";
    EXPECT_EQ(ReadProductName(c.path, name), c.found) << Narrow(c.path);
    EXPECT_EQ(name, c.found ? std::wstring(c.name) : L"untouched") << Narrow(c.path);
  }
}

TEST(ProductNameOrPath, FallsBackToThePath) {
  EXPECT_EQ(ProductNameOrPath(Fixture(L"with_version")), L"Erstes Produkt");
  EXPECT_EQ(ProductNameOrPath(Fixture(L"empty_product_name")), Fixture(L"empty_product_name"));
  EXPECT_EQ(ProductNameOrPath(MissingFile()), MissingFile());
}

TEST(ReadProductName, ReadsTheProgramsOwnVersionBlock) {
  // The test program carries the product's resources, as chainer.exe does.
  std::wstring name;
  EXPECT_TRUE(ReadProductName(ModulePath(), name));
  EXPECT_EQ(name, L"Kestrune");
}

}  // namespace
}  // namespace kestrune
