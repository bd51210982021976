#include "log/logger.h"

#include <gtest/gtest.h>

#include <thread>

#include "log/log_format.h"
#include "platform/cpu.h"
#include "tests/test_support.h"

namespace kestrune {
namespace {

using testing::LogMessages;
using testing::ReadBytes;
using testing::ReadUtf16;
using testing::ScratchFolder;

const OsVersionInfo& SampleOs() {
  static const OsVersionInfo os = {6, 1, 7601, 1, false, true};
  return os;
}

// A logger whose fallback locations all lie in a scratch folder:
//   common\   the common application data     (candidate 0: common\KESTRUNE_LOGS\setup.LOG)
//   pkg\      the executable's folder          (candidate 1: pkg\setup.LOG)
//   tmp\      the temporary folder             (candidate 2: tmp\KESTRUNE_LOGS\setup.LOG)
class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* name : {L"common", L"pkg", L"tmp"}) {
      ::CreateDirectoryW((scratch / name).c_str(), nullptr);
    }
    locations.commonDataFolder = scratch / L"common";
    locations.modulePath = scratch / L"pkg\\setup.exe";
    locations.tempFolder = scratch / L"tmp\\";
  }

  // Runs one logger over `lines`, as one process run would.
  void LogRun(const std::wstring& configuredPath, const std::vector<std::wstring>& lines) {
    Logger logger(locations);
    logger.SetOsVersionSource(&SampleOs);
    logger.SetLogFile(configuredPath);
    for (const std::wstring& line : lines) logger.AppendLine(line);
  }

  std::wstring Candidate0() const { return scratch / L"common\\KESTRUNE_LOGS\\setup.LOG"; }
  std::wstring Candidate1() const { return scratch / L"pkg\\setup.LOG"; }
  std::wstring Candidate2() const { return scratch / L"tmp\\KESTRUNE_LOGS\\setup.LOG"; }

  // Makes candidate 0 unopenable: a file stands where its folder would be.
  void SpoilCandidate0() { testing::WriteBytes(scratch / L"common\\KESTRUNE_LOGS", {'x'}); }

  ScratchFolder scratch;
  LogLocations locations;
};

std::wstring ExpectedHeader() {
  return FormatLogHeader(SampleOs(), CpuBrandString());
}

TEST_F(LoggerTest, NewFileHasMarkHeaderLinesAndEndMarker) {
  const std::wstring path = scratch / L"new.log";
  LogRun(path, {L"Launching file:C:\\a.exe", L"second"});

  const std::vector<unsigned char> bytes = ReadBytes(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  const std::wstring text = ReadUtf16(path).substr(1);
  ASSERT_EQ(text.compare(0, ExpectedHeader().size(), ExpectedHeader()), 0) << "header block";

  const std::vector<std::wstring> messages = LogMessages(text.substr(ExpectedHeader().size()));
  const std::vector<std::wstring> expected = {L"Launching file:C:\\a.exe", L"second",
                                              L"=====================End of Log=====================",
                                              L""};
  EXPECT_EQ(messages, expected);
  EXPECT_EQ(text.substr(text.size() - 4), L"\r\n\r\n") << "end marker then an empty line";
}

TEST_F(LoggerTest, LinesStartWithLocalTimestampAndDash) {
  const std::wstring path = scratch / L"stamp.log";
  SYSTEMTIME before = {};
  ::GetLocalTime(&before);
  LogRun(path, {L"x"});
  const std::wstring body = ReadUtf16(path).substr(1 + ExpectedHeader().size());
  ASSERT_GE(body.size(), 21u);
  EXPECT_EQ(body.substr(0, 5), std::to_wstring(before.wYear) + L"-");
  EXPECT_EQ(body[13], L'-');
  EXPECT_EQ(body[16], L'-');
  EXPECT_EQ(body.substr(19, 4), L"-x\r\n");
}

TEST_F(LoggerTest, ReusedFileGetsNoSecondMarkButANewHeader) {
  const std::wstring path = scratch / L"reuse.log";
  LogRun(path, {L"first run"});
  LogRun(path, {L"second run"});

  const std::wstring text = ReadUtf16(path);
  EXPECT_EQ(text[0], L'\xFEFF');
  EXPECT_EQ(text.find(L'\xFEFF', 1), std::wstring::npos);
  const std::wstring header = ExpectedHeader();
  const size_t second = text.find(header, 1 + header.size());
  ASSERT_NE(second, std::wstring::npos) << "second header block";
  EXPECT_NE(text.find(L"-first run\r\n"), std::wstring::npos);
  EXPECT_GT(text.find(L"-second run\r\n"), second);
}

TEST_F(LoggerTest, ConfiguredFolderMissingFallsBackToSharedLogFolder) {
  LogRun(scratch / L"missing\\x.log", {L"line"});
  EXPECT_FALSE(testing::PathExists(scratch / L"missing"));
  ASSERT_TRUE(testing::PathExists(Candidate0()));
  EXPECT_NE(ReadUtf16(Candidate0()).find(L"-line\r\n"), std::wstring::npos);
}

// Every account may later write to the shared folder. (Wine does not store file security
// descriptors, so the folder's list can be read back on Windows only.)
TEST_F(LoggerTest, NewSharedLogFolderGrantsEveryoneFullAccess) {
  if (testing::RunningUnderWine()) GTEST_SKIP() << "Wine does not store file security descriptors";
  LogRun(scratch / L"missing\\x.log", {L"line"});
  EXPECT_TRUE(testing::FolderGrantsEveryoneFullAccess(scratch / L"common\\KESTRUNE_LOGS"));
}

TEST_F(LoggerTest, SharedLogFolderThatExistsIsUsed) {
  ::CreateDirectoryW((scratch / L"common\\KESTRUNE_LOGS").c_str(), nullptr);
  LogRun(scratch / L"missing\\x.log", {L"line"});
  EXPECT_TRUE(testing::PathExists(Candidate0()));
}

TEST_F(LoggerTest, SecondCandidateSitsBesideTheExecutable) {
  SpoilCandidate0();
  LogRun(scratch / L"missing\\x.log", {L"line"});
  ASSERT_TRUE(testing::PathExists(Candidate1()));
  EXPECT_NE(ReadUtf16(Candidate1()).find(L"-line\r\n"), std::wstring::npos);
}

TEST_F(LoggerTest, ThirdCandidateIsTheTemporaryLogFolder) {
  SpoilCandidate0();
  locations.modulePath = scratch / L"gone\\setup.exe";
  LogRun(scratch / L"missing\\x.log", {L"line"});
  ASSERT_TRUE(testing::PathExists(Candidate2()));
  EXPECT_NE(ReadUtf16(Candidate2()).find(L"-line\r\n"), std::wstring::npos);
}

TEST_F(LoggerTest, ThirdCandidateAcceptsAnExistingFolder) {
  SpoilCandidate0();
  locations.modulePath = scratch / L"gone\\setup.exe";
  ::CreateDirectoryW((scratch / L"tmp\\KESTRUNE_LOGS").c_str(), nullptr);
  LogRun(scratch / L"missing\\x.log", {L"line"});
  EXPECT_TRUE(testing::PathExists(Candidate2()));
}

TEST_F(LoggerTest, NoUsableLocationDropsLinesQuietly) {
  SpoilCandidate0();
  locations.modulePath = scratch / L"gone\\setup.exe";
  testing::WriteBytes(scratch / L"tmp\\KESTRUNE_LOGS", {'x'});
  LogRun(scratch / L"missing\\x.log", {L"line", L"another"});
  EXPECT_FALSE(testing::PathExists(Candidate1()));
  EXPECT_FALSE(testing::PathExists(scratch / L"gone"));
}

TEST_F(LoggerTest, OtherPathIsIgnoredOnceTheFileIsOpen) {
  const std::wstring first = scratch / L"first.log";
  const std::wstring second = scratch / L"second.log";
  {
    Logger logger(locations);
    logger.SetLogFile(first);
    logger.AppendLine(L"one");
    logger.SetLogFile(second);
    logger.AppendLine(L"two");
    EXPECT_EQ(logger.CurrentPath(), first);
  }
  EXPECT_FALSE(testing::PathExists(second));
  EXPECT_NE(ReadUtf16(first).find(L"-two\r\n"), std::wstring::npos);
}

TEST_F(LoggerTest, PathCanChangeBeforeTheFirstLine) {
  const std::wstring second = scratch / L"second.log";
  {
    Logger logger(locations);
    logger.SetLogFile(scratch / L"first.log");
    logger.SetLogFile(second);
    logger.AppendLine(L"one");
  }
  EXPECT_FALSE(testing::PathExists(scratch / L"first.log"));
  EXPECT_TRUE(testing::PathExists(second));
}

TEST_F(LoggerTest, EnabledRunWithoutLinesStillWritesHeaderAndEndMarker) {
  const std::wstring path = scratch / L"quiet.log";
  LogRun(path, {});
  const std::vector<std::wstring> messages = testing::LogBodyMessages(ReadUtf16(path));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], L"=====================End of Log=====================");
}

TEST_F(LoggerTest, LinesFromSeveralThreadsNeverInterleave) {
  const std::wstring path = scratch / L"threads.log";
  const int kLinesPerThread = 150;
  {
    Logger logger(locations);
    logger.SetLogFile(path);
    auto writer = [&logger](wchar_t tag) {
      for (int i = 0; i < kLinesPerThread; ++i) {
        logger.AppendLine(std::wstring(40, tag) + L" " + std::to_wstring(i));
      }
    };
    std::thread a(writer, L'a');
    std::thread b(writer, L'b');
    a.join();
    b.join();
  }
  int count = 0;
  for (const std::wstring& message : testing::LogBodyMessages(ReadUtf16(path))) {
    if (message.empty() || message[0] == L'=') continue;
    ++count;
    EXPECT_EQ(message.find_first_not_of(message[0]), 40u) << "broken line: " << message.c_str();
  }
  EXPECT_EQ(count, 2 * kLinesPerThread);
}

TEST(ProcessLogger, NothingIsWrittenWhileLoggingIsOff) {
  if (LoggingEnabled) GTEST_SKIP() << "an earlier test of this process captures the log";
  const LogLocations places = SystemLogLocations();
  const std::wstring exeName = places.modulePath.substr(places.modulePath.rfind(L'\\') + 1);
  const std::wstring logName = exeName.substr(0, exeName.rfind(L'.')) + L".LOG";
  const std::wstring shared = places.commonDataFolder + L"\\KESTRUNE_LOGS\\" + logName;
  testing::RemoveTree(shared);
  LogLine(L"must not appear");
  EXPECT_FALSE(testing::PathExists(shared));
  EXPECT_EQ(TheLogger().CurrentPath(), L"");
}

TEST(SystemErrorText, SystemTextUntrimmedOrSignedCode) {
  const std::wstring missing = SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_GE(missing.size(), 3u);
  EXPECT_EQ(missing.substr(missing.size() - 2), L"\r\n");
  EXPECT_NE(missing, L"2");
  EXPECT_EQ(SystemErrorText(0xE0000001u), L"-536870911");
  EXPECT_EQ(SystemErrorText(0x2AAAAAAAu), L"715827882");
}

TEST(CpuBrand, ReportsBrandOrUnknown) {
  char brand[48] = "  Example CPU @ 2.00GHz";
  EXPECT_EQ(CpuBrandText(0x80000004u, brand), L"  Example CPU @ 2.00GHz");
  EXPECT_EQ(CpuBrandText(0x80000008u, brand), L"  Example CPU @ 2.00GHz");
  EXPECT_EQ(CpuBrandText(0x80000003u, brand), L"UnkownCPU");
  char full[48];
  for (char& c : full) c = 'Z';
  EXPECT_EQ(CpuBrandText(0x80000004u, full), std::wstring(48, L'Z'));
  EXPECT_FALSE(CpuBrandString().empty());
}

}  // namespace
}  // namespace kestrune
