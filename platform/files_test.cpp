#include "platform/files.h"

#include <gtest/gtest.h>

#include "platform/path_text.h"
#include "platform/system_paths.h"
#include "platform/text.h"
#include "platform/unique_handle.h"
#include "tests/test_support.h"

namespace kestrune {
namespace {

using testing::IsFolder;
using testing::PathExists;
using testing::ScratchFolder;

// Made with the long form, so that the test does not rely on what it checks.
void MakeFolder(const std::wstring& path) {
  ASSERT_TRUE(::CreateDirectoryW(AddLongPathPrefix(path).c_str(), nullptr))
      << "error " << ::GetLastError();
}

void MakeFile(const std::wstring& path, size_t size = 0) {
  testing::WriteBytes(AddLongPathPrefix(path), std::vector<unsigned char>(size, 'k'));
}

// `folder` followed by nested 50-character folder names until the path reaches `length`.
std::wstring DeepPath(const std::wstring& folder, size_t length) {
  std::wstring path = folder;
  for (wchar_t letter = L'a'; path.size() < length; ++letter) {
    path += L'\\' + std::wstring(50, letter);
  }
  return path;
}

bool LongPathExists(const std::wstring& path) { return PathExists(AddLongPathPrefix(path)); }

TEST(DeleteFileLong, ShortAndLongPaths) {
  ScratchFolder scratch;
  const std::wstring shortFile = scratch / L"a.txt";
  MakeFile(shortFile);
  EXPECT_TRUE(DeleteFileLong(shortFile));
  EXPECT_FALSE(PathExists(shortFile));
  EXPECT_FALSE(DeleteFileLong(shortFile));

  const std::wstring deep = DeepPath(scratch.path(), 280);
  ASSERT_EQ(CreateFolderTree(deep, true, nullptr), 0u);
  const std::wstring longFile = deep + L"\\file.txt";
  ASSERT_GE(longFile.size(), 260u);
  MakeFile(longFile);
  EXPECT_TRUE(DeleteFileLong(longFile));
  EXPECT_FALSE(LongPathExists(longFile));

  MakeFile(longFile);
  EXPECT_TRUE(DeleteFileLong(L"\\\\?\\" + longFile));
  EXPECT_FALSE(LongPathExists(longFile));
}

TEST(RemoveFolderLong, OnlyEmptyFoldersShortAndLong) {
  ScratchFolder scratch;
  const std::wstring folder = scratch / L"f";
  MakeFolder(folder);
  MakeFile(folder + L"\\x");
  EXPECT_FALSE(RemoveFolderLong(folder));
  EXPECT_TRUE(IsFolder(folder));
  ::DeleteFileW((folder + L"\\x").c_str());
  EXPECT_TRUE(RemoveFolderLong(folder));
  EXPECT_FALSE(PathExists(folder));

  const std::wstring deep = DeepPath(scratch.path(), 300);
  ASSERT_EQ(CreateFolderTree(deep, true, nullptr), 0u);
  EXPECT_TRUE(RemoveFolderLong(deep));
  EXPECT_FALSE(LongPathExists(deep));
  EXPECT_TRUE(LongPathExists(FolderOfPath(deep)));
}

class CreateFolderTreeTest : public ::testing::Test {
 protected:
  ScratchFolder scratch_;
  std::vector<std::wstring> created_;
};

TEST_F(CreateFolderTreeTest, ExistingPathReturnsZeroAndRecordsNothing) {
  MakeFolder(scratch_ / L"a");
  MakeFile(scratch_ / L"a\\file.txt");
  EXPECT_EQ(CreateFolderTree(scratch_ / L"a", true, &created_), 0u);
  EXPECT_EQ(CreateFolderTree(scratch_ / L"a\\file.txt", false, &created_), 0u);
  // The file is missing, its folders are all there.
  EXPECT_EQ(CreateFolderTree(scratch_ / L"a\\new.txt", false, &created_), 0u);
  EXPECT_TRUE(created_.empty());
  EXPECT_FALSE(PathExists(scratch_ / L"a\\new.txt"));
}

TEST_F(CreateFolderTreeTest, CreatesMissingLevelsInOrderAndRecordsThem) {
  MakeFolder(scratch_ / L"a");
  EXPECT_EQ(CreateFolderTree(scratch_ / L"a\\b\\c", true, &created_), 0u);
  const std::vector<std::wstring> expected = {scratch_ / L"a\\b", scratch_ / L"a\\b\\c"};
  EXPECT_EQ(created_, expected);
  EXPECT_TRUE(IsFolder(scratch_ / L"a\\b\\c"));
}

TEST_F(CreateFolderTreeTest, FilePathGetsOnlyItsFolders) {
  EXPECT_EQ(CreateFolderTree(scratch_ / L"d\\e\\setup.exe.part", false, &created_), 0u);
  EXPECT_TRUE(IsFolder(scratch_ / L"d\\e"));
  EXPECT_FALSE(PathExists(scratch_ / L"d\\e\\setup.exe.part"));
  EXPECT_EQ(created_.size(), 2u);
  EXPECT_EQ(CreateFolderTree(scratch_ / L"g\\h", true, nullptr), 0u);
  EXPECT_TRUE(IsFolder(scratch_ / L"g\\h"));
}

TEST_F(CreateFolderTreeTest, LongPathsBothFormsWork) {
  const std::wstring deep = DeepPath(scratch_.path(), 400);
  EXPECT_EQ(CreateFolderTree(deep, true, &created_), 0u);
  EXPECT_TRUE(LongPathExists(deep));
  EXPECT_EQ(created_.back(), deep);
  EXPECT_EQ(CreateFolderTree(deep, true, nullptr), 0u);

  const std::wstring prefixed = L"\\\\?\\" + deep + L"\\more\\file.bin";
  created_.clear();
  EXPECT_EQ(CreateFolderTree(prefixed, false, &created_), 0u);
  EXPECT_EQ(created_, std::vector<std::wstring>{L"\\\\?\\" + deep + L"\\more"});
  EXPECT_TRUE(LongPathExists(deep + L"\\more"));
}

TEST_F(CreateFolderTreeTest, FileWhereAFolderMustBeFailsAndKeepsTheFile) {
  MakeFile(scratch_ / L"blocker", 3);
  const DWORD result = CreateFolderTree(scratch_ / L"blocker\\sub\\x", true, &created_);
  EXPECT_NE(result, 0u);
  EXPECT_TRUE(result == ERROR_PATH_NOT_FOUND || result == ERROR_DIRECTORY) << result;
  EXPECT_TRUE(created_.empty());
  EXPECT_EQ(testing::ReadBytes(scratch_ / L"blocker").size(), 3u);
}

TEST_F(CreateFolderTreeTest, FailingLevelRemovesTheLevelAboveItCreated) {
  MakeFolder(scratch_ / L"kept");
  EXPECT_EQ(CreateFolderTree(scratch_ / L"kept\\made\\bad<name\\x", true, &created_),
            static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_FALSE(PathExists(scratch_ / L"kept\\made"));
  EXPECT_TRUE(IsFolder(scratch_ / L"kept"));
  EXPECT_TRUE(created_.empty());
}

TEST_F(CreateFolderTreeTest, FailingLevelKeepsAnEmptyFolderThatWasThere) {
  MakeFolder(scratch_ / L"empty");
  EXPECT_EQ(CreateFolderTree(scratch_ / L"empty\\bad|name", true, &created_),
            static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_TRUE(IsFolder(scratch_ / L"empty"));
}

TEST_F(CreateFolderTreeTest, FailingLevelKeepsALevelAboveThatIsNotEmpty) {
  // "made" is created, then "made\sub" after it; the failure is below "sub", which is removed.
  MakeFolder(scratch_ / L"made");
  MakeFile(scratch_ / L"made\\keep.txt");
  EXPECT_EQ(CreateFolderTree(scratch_ / L"made\\sub\\bad*name", true, &created_),
            static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_FALSE(PathExists(scratch_ / L"made\\sub"));
  EXPECT_TRUE(PathExists(scratch_ / L"made\\keep.txt"));
}

TEST_F(CreateFolderTreeTest, NetworkPathWalksOnPastAFailingLevel) {
  // A device path ("\\.\C:\...") counts as a network path. Its level "bad<name" cannot be made,
  // but the next level ("bad<name\..\good", that is "good") can: the walk goes on and succeeds,
  // where the same path in drive form stops at the failing level.
  const std::wstring tail = L"\\bad<name\\..\\good";
  EXPECT_EQ(CreateFolderTree(scratch_.path() + tail, true, nullptr),
            static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_FALSE(PathExists(scratch_ / L"good"));
  EXPECT_EQ(CreateFolderTree(L"\\\\.\\" + scratch_.path() + tail, true, nullptr), 0u);
  EXPECT_TRUE(IsFolder(scratch_ / L"good"));
}

TEST_F(CreateFolderTreeTest, NetworkPathReportsTheLastLevelsFailure) {
  EXPECT_NE(CreateFolderTree(L"\\\\no-such-server-kestrune\\share\\dir", true, &created_), 0u);
  EXPECT_TRUE(created_.empty());
}

class RemoveEmptyFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = scratch_ / L"base";
    ASSERT_EQ(CreateFolderTree(base_ + L"\\a\\b\\c", true, nullptr), 0u);
  }
  ScratchFolder scratch_;
  std::wstring base_;
};

TEST_F(RemoveEmptyFoldersTest, RemovesUpToButNotTheBase) {
  RemoveEmptyFolders(base_ + L"\\a\\b\\c", base_);
  EXPECT_FALSE(PathExists(base_ + L"\\a"));
  EXPECT_TRUE(IsFolder(base_));
}

TEST_F(RemoveEmptyFoldersTest, BaseWithTrailingBackslash) {
  RemoveEmptyFolders(base_ + L"\\a\\b\\c", base_ + L"\\");
  EXPECT_FALSE(PathExists(base_ + L"\\a"));
  EXPECT_TRUE(IsFolder(base_));
}

TEST_F(RemoveEmptyFoldersTest, SkipsFoldersThatAreNotEmpty) {
  MakeFile(base_ + L"\\a\\keep.txt");
  RemoveEmptyFolders(base_ + L"\\a\\b\\c", base_);
  EXPECT_FALSE(PathExists(base_ + L"\\a\\b"));
  EXPECT_TRUE(PathExists(base_ + L"\\a\\keep.txt"));
}

TEST_F(RemoveEmptyFoldersTest, LeavesFoldersOutsideTheBase) {
  MakeFolder(scratch_ / L"other");
  RemoveEmptyFolders(scratch_ / L"other", base_);
  RemoveEmptyFolders(base_ + L"\\a\\b\\c", L"");
  EXPECT_TRUE(IsFolder(scratch_ / L"other"));
  EXPECT_TRUE(IsFolder(base_ + L"\\a\\b\\c"));
}

TEST_F(RemoveEmptyFoldersTest, LongPaths) {
  const std::wstring deep = DeepPath(base_, 320);
  ASSERT_EQ(CreateFolderTree(deep, true, nullptr), 0u);
  RemoveEmptyFolders(deep, base_);
  EXPECT_TRUE(IsFolder(base_));
  EXPECT_TRUE(IsFolder(base_ + L"\\a"));  // holds b
  EXPECT_FALSE(LongPathExists(base_ + L"\\" + std::wstring(50, L'a')));
}

TEST(GetFileStatus, FormErrorsThenTheSearchResult) {
  ScratchFolder scratch;
  const struct {
    std::wstring path;
    DWORD error;
  } cases[] = {
      {L"", ERROR_INVALID_PARAMETER},
      {L"C", ERROR_PATH_NOT_FOUND},
      {L"pkg\\a.exe", ERROR_PATH_NOT_FOUND},
      {scratch / L"missing.exe", ERROR_FILE_NOT_FOUND},
      {scratch / L"no-folder\\missing.exe", ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    FileStatus status;
    status.size = 77;
    EXPECT_EQ(GetFileStatus(c.path, status), c.error) << c.path;
    EXPECT_EQ(status.size, 77u) << c.path;
    EXPECT_FALSE(FileExists(c.path)) << c.path;
  }
}

TEST(GetFileStatus, SizeAndLastWriteTimeOfAFile) {
  ScratchFolder scratch;
  const std::wstring file = scratch / L"setup.exe";
  MakeFile(file, 12345);
  FILETIME written = {};
  written.dwLowDateTime = 0x12345600;
  written.dwHighDateTime = 0x01D00000;
  FileHandle handle(::CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr));
  ASSERT_TRUE(handle.valid());
  ASSERT_TRUE(::SetFileTime(handle.get(), nullptr, nullptr, &written));
  handle.reset();

  FileStatus status;
  EXPECT_EQ(GetFileStatus(file, status), 0u);
  EXPECT_EQ(status.size, 12345u);
  EXPECT_EQ(::CompareFileTime(&status.lastWriteTime, &written), 0);
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(FileExists(scratch.path()));
}

TEST(GetFileStatus, SizeBeyondFourGigabytesKeepsTheLow32Bits) {
  ScratchFolder scratch;
  const std::wstring file = scratch / L"big.bin";
  {
    // Sparse where the file system allows it: no 4 GB are written.
    FileHandle handle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(handle.valid());
    LARGE_INTEGER end;
    end.QuadPart = 0x100000000LL + 100;
    ASSERT_TRUE(::SetFilePointerEx(handle.get(), end, nullptr, FILE_BEGIN));
    if (!::SetEndOfFile(handle.get())) GTEST_SKIP() << "no room for a 4 GB file here";
  }
  FileStatus status;
  EXPECT_EQ(GetFileStatus(file, status), 0u);
  EXPECT_EQ(status.size, 100u);
}

TEST(GetFileStatus, LongPathAndPrefixedForms) {
  ScratchFolder scratch;
  const std::wstring deep = DeepPath(scratch.path(), 300);
  ASSERT_EQ(CreateFolderTree(deep, true, nullptr), 0u);
  const std::wstring file = deep + L"\\a.bin";
  MakeFile(file, 9);
  FileStatus status;
  EXPECT_EQ(GetFileStatus(file, status), 0u);
  EXPECT_EQ(status.size, 9u);
  EXPECT_TRUE(FileExists(L"\\\\?\\" + file));
}

TEST(ShortAnsiPath, ShortFormOfAnExistingPath) {
  ScratchFolder scratch;
  const std::wstring folder = scratch / L"Long Folder Name";
  MakeFolder(folder);
  const std::wstring file = folder + L"\\setup file.text";
  MakeFile(file);

  std::string shortPath = "previous";
  ASSERT_TRUE(ShortAnsiPath(file, shortPath));
  EXPECT_EQ(shortPath.find(' '), std::string::npos) << shortPath;
  const std::wstring wide = MultiByteToWide(shortPath);
  for (const std::wstring& name : SplitPath(wide)) EXPECT_LE(name.size(), 12u) << shortPath;
  // It names the same file.
  wchar_t longForm[MAX_PATH] = {};
  ASSERT_NE(::GetLongPathNameW(wide.c_str(), longForm, MAX_PATH), 0u);
  EXPECT_TRUE(EqualsIgnoringCase(longForm, file)) << longForm;
}

TEST(ShortAnsiPath, EmptyPathGivesEmptyAndMissingPathKeepsThePreviousValue) {
  ScratchFolder scratch;
  std::string shortPath = "previous";
  EXPECT_FALSE(ShortAnsiPath(scratch / L"missing file.txt", shortPath));
  EXPECT_EQ(shortPath, "previous");
  EXPECT_TRUE(ShortAnsiPath(L"", shortPath));
  EXPECT_EQ(shortPath, "");
}

// The names in `folder` that end with `suffix` (ASCII case ignored), "." and ".." left out.
std::vector<std::wstring> FilesEndingWith(const std::wstring& folder,
                                          const std::wstring& suffix) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (name.size() >= suffix.size() &&
        EqualsIgnoringCase(name.substr(name.size() - suffix.size()), suffix)) {
      names.push_back(name);
    }
  } while (::FindNextFileW(find.get(), &data));
  return names;
}

TEST(CreateTempFile, NewEmptyFileWithTheSystemsExtension) {
  ScratchFolder scratch;
  const std::wstring path = CreateTempFile(scratch.path(), L"EXE", L"");
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(FolderOfPath(path), scratch.path());
  EXPECT_TRUE(StartsWith(FileNameOfPath(path), L"EXE"));
  EXPECT_EQ(FilesEndingWith(scratch.path(), L".tmp"),
            std::vector<std::wstring>{FileNameOfPath(path)});
  EXPECT_TRUE(testing::ReadBytes(path).empty());
  EXPECT_NE(CreateTempFile(scratch.path(), L"EXE", L""), path);
}

TEST(CreateTempFile, MovedToTheExtensionGivenWithOrWithoutDot) {
  ScratchFolder scratch;
  const std::wstring bat = CreateTempFile(scratch.path(), L"EXE", L".bat");
  const std::wstring url = CreateTempFile(scratch.path(), L"URL", L"url");
  for (const std::wstring& path : {bat, url}) {
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(FolderOfPath(path), scratch.path());
    EXPECT_TRUE(PathExists(path)) << path;
  }
  EXPECT_TRUE(StartsWith(FileNameOfPath(bat), L"EXE"));
  EXPECT_EQ(FilesEndingWith(scratch.path(), L".bat"),
            std::vector<std::wstring>{FileNameOfPath(bat)});
  EXPECT_TRUE(StartsWith(FileNameOfPath(url), L"URL"));
  EXPECT_EQ(FilesEndingWith(scratch.path(), L".url"),
            std::vector<std::wstring>{FileNameOfPath(url)});
  EXPECT_TRUE(FilesEndingWith(scratch.path(), L".tmp").empty());
}

TEST(CreateTempFile, FolderThatDoesNotExistGivesNothing) {
  ScratchFolder scratch;
  EXPECT_EQ(CreateTempFile(scratch / L"missing", L"EXE", L".bat"), L"");
  EXPECT_EQ(CreateTempFile(scratch / L"missing", L"EXE", L""), L"");
}

// The system numbers temporary files from the tick count upwards, past the last number it gave
// out. Taking the extension names of the numbers that follow the last one makes the first moves
// fail as long as the clock has not moved past them; either way a free name must come out.
class TakenTempNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::RunningUnderWine()) GTEST_SKIP() << "relies on Wine's temporary-file numbers";
  }
  // Takes "<prefix><hex>.bat" for the `count` numbers after the one the system gives out now.
  void TakeNextBatNames(const std::wstring& prefix, unsigned count) {
    wchar_t probe[MAX_PATH + 1] = {};
    ASSERT_NE(::GetTempFileNameW(scratch_.path().c_str(), prefix.c_str(), 0, probe), 0u);
    ::DeleteFileW(probe);
    const std::wstring name = FileNameOfPath(probe);
    const unsigned last = std::stoul(name.substr(prefix.size(), name.size() - prefix.size() - 4),
                                     nullptr, 16);
    for (unsigned i = 1; i <= count; ++i) {
      const unsigned number = (last + i) & 0xFFFF;
      if (number == 0) continue;
      wchar_t hex[8] = {};
      swprintf(hex, 8, L"%x", number);
      MakeFile(scratch_ / (prefix + hex + L".bat"), 1);
    }
  }
  ScratchFolder scratch_;
};

TEST_F(TakenTempNamesTest, RetriesWithNewNamesAndLeavesNoFileBehind) {
  TakeNextBatNames(L"KTa", 3);
  const std::wstring path = CreateTempFile(scratch_.path(), L"KTa", L".bat");
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(testing::ReadBytes(path).empty());  // not one of the names taken beforehand
  EXPECT_EQ(FilesEndingWith(scratch_.path(), L".bat").size(), 4u);
  EXPECT_TRUE(FilesEndingWith(scratch_.path(), L".tmp").empty());
}

TEST(CreateTempFile, MoveThatAlwaysFailsGivesNothingAndLeavesNoFileBehind) {
  // No file name can carry an extension longer than a whole name may be.
  ScratchFolder scratch;
  EXPECT_EQ(CreateTempFile(scratch.path(), L"EXE", std::wstring(300, L'x')), L"");
  EXPECT_TRUE(FilesEndingWith(scratch.path(), L"").empty());
}

}  // namespace
}  // namespace kestrune
