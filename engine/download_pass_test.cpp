// The download pass against real transfers from a server of the test process.
#include <gtest/gtest.h>

#include <memory>

#include "engine/operations_engine.h"
#include "log/logger.h"
#include "tests/local_http_server.h"
#include "tests/test_support.h"
#include "transfer/transfer_codes.h"

namespace kestrune {
namespace {

using testing::LocalHttpServer;
using testing::LogCapture;
using testing::PathExists;
using testing::ScratchFolder;

const std::vector<unsigned char> kAbc = {'a', 'b', 'c'};
const wchar_t kAbcMd5[] = L"900150983cd24fb0d6963f7d28e17f72";

// Records what the pass and its transfers report, and presses Cancel when told to.
class RecordingObserver : public OperationObserver {
 public:
  void SetStepCount(int count, int reserved) override {
    stepCounts.push_back({count, reserved});
  }
  void BeginTransfer(int, uint32_t, const wchar_t*) override {}
  void Completed(int kind, uint32_t) override {
    if (kind == kTransferKind && ++transfersCompleted == cancelAfterTransfers) canceled = true;
  }
  void Progress(uint32_t) override {}
  bool IsCanceled() override { return canceled; }
  bool IsPaused() override { return false; }
  int ReportError(const wchar_t* text, uint32_t code, int) override {
    errors.push_back({text ? text : L"(null)", code});
    return static_cast<int>(code);
  }
  void Step(const wchar_t* text, int kind, int) override {
    steps.push_back(text);
    stepKinds.push_back(kind);
    if (static_cast<int>(steps.size()) == cancelAtStep) canceled = true;
  }

  // The errors the pass itself reported (the transfers report their own as well).
  std::vector<std::pair<std::wstring, uint32_t>> PassErrors() const {
    std::vector<std::pair<std::wstring, uint32_t>> own;
    for (const auto& error : errors) {
      if (error.second == OPS_E_DOWNLOAD_REJECTED || error.second == OPS_E_MANDATORY_FAILED) {
        own.push_back(error);
      }
    }
    return own;
  }

  int cancelAfterTransfers = 0;  // 0: never
  int cancelAtStep = 0;          // 0: never
  bool canceled = false;
  int transfersCompleted = 0;
  std::vector<std::pair<int, int>> stepCounts;
  std::vector<std::wstring> steps;
  std::vector<int> stepKinds;
  std::vector<std::pair<std::wstring, uint32_t>> errors;
};

Prerequisite ToDownload(const wchar_t* name, const std::wstring& url) {
  Prerequisite p;
  p.name = name;
  p.location = url;
  p.locationKind = kLocationDownload;
  p.state = Download;
  p.selected = true;
  return p;
}

std::wstring Started(const wchar_t* name) { return std::wstring(L"Starting download of:") + name; }
std::wstring Failed(uint32_t code) { return L"Download failed. Error:" + SystemErrorText(code); }
const wchar_t kCompleted[] = L"Download completed succesfully.";
const wchar_t kAccepted[] = L"Downloaded file was accepted.";
const wchar_t kRejected[] = L"Downloaded file was rejected.(Invalid size or MD5).";
const wchar_t kCanceled[] = L"Download was canceled.";

class DownloadPassTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.started()); }

  std::unique_ptr<OperationsEngine> MakeEngine() {
    return std::unique_ptr<OperationsEngine>(
        new OperationsEngine(config, packageFiles, root.path(), store));
  }

  // The path below the download folder.
  std::wstring InRoot(const std::wstring& relative) const { return root / relative; }

  LocalHttpServer server;
  ScratchFolder root;
  ChainerConfig config;
  PackageFileResolver packageFiles;
  InterbootStore store{"KestruneDownloadPassTest-" + std::to_string(::GetCurrentProcessId()),
                       true};
};

TEST_F(DownloadPassTest, NothingToDownloadReportsNoStepAndLogsNothing) {
  Prerequisite package = ToDownload(L"Package", L"");
  package.state = InstallFromPackage;
  package.locationKind = kLocationPackage;
  Prerequisite notSelected = ToDownload(L"Not selected", server.Url(L"/a.exe"));
  notSelected.selected = false;
  Prerequisite present = ToDownload(L"Present", server.Url(L"/a.exe"));
  present.downloaded = true;
  config.prerequisites = {package, notSelected, present};

  LogCapture log;
  RecordingObserver observer;
  EXPECT_EQ(MakeEngine()->DownloadPass(&observer), kPassDone);
  EXPECT_EQ(observer.stepCounts, (std::vector<std::pair<int, int>>{{0, 0}}));
  EXPECT_TRUE(observer.steps.empty());
  EXPECT_EQ(MakeEngine()->DownloadPass(nullptr), kPassDone);
  EXPECT_TRUE(log.Messages().empty());
  EXPECT_EQ(server.RequestCount("/a.exe"), 0);
}

TEST_F(DownloadPassTest, AnAcceptedDownloadIsMarkedDownloaded) {
  server.Serve("/dl/setup.exe", kAbc);
  Prerequisite runtime = ToDownload(L"Runtime", server.Url(L"/dl/setup.exe"));
  runtime.exactSize = 3;
  runtime.md5 = L"900150983CD24FB0D6963F7D28E17F72";
  config.prerequisites = {runtime};

  LogCapture log;
  RecordingObserver observer;
  const std::unique_ptr<OperationsEngine> engine = MakeEngine();
  EXPECT_EQ(engine->DownloadPass(&observer), kPassDone);

  EXPECT_EQ(log.Messages(),
            (std::vector<std::wstring>{Started(L"Runtime"), kCompleted, kAccepted}));
  EXPECT_EQ(observer.stepCounts, (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_EQ(observer.steps, std::vector<std::wstring>{L"Downloading Runtime"});
  EXPECT_EQ(observer.stepKinds, std::vector<int>{kStepProgress});
  EXPECT_TRUE(observer.errors.empty());
  EXPECT_EQ(testing::ReadBytes(InRoot(L"setup.exe")), kAbc);
  EXPECT_TRUE(config.prerequisites[0].downloaded);
  EXPECT_EQ(config.prerequisites[0].state, Download);
  EXPECT_EQ(engine->GetAction(0), AlreadyDownloaded);
  EXPECT_EQ(engine->downloads().items[0].status, 0);
  EXPECT_EQ(engine->downloadedFiles(), std::vector<std::wstring>{InRoot(L"setup.exe")});
}

TEST_F(DownloadPassTest, SilentDownloadIntoANamedFileOfASubfolder) {
  server.Serve("/get.php", kAbc);
  Prerequisite tool = ToDownload(L"Tool", server.Url(L"/get.php"));
  tool.folder = L"tools\\x86?tool-setup.exe";
  tool.md5 = std::wstring(kAbcMd5) + L"trailing text is not compared";
  config.prerequisites = {tool};

  LogCapture log;
  EXPECT_EQ(MakeEngine()->DownloadPass(nullptr), kPassDone);
  EXPECT_EQ(log.Messages(), (std::vector<std::wstring>{Started(L"Tool"), kCompleted, kAccepted}));
  EXPECT_TRUE(config.prerequisites[0].downloaded);
  // Deleted again with the engine (KeepFiles not set), along with its folders.
  EXPECT_FALSE(PathExists(InRoot(L"tools")));
  EXPECT_TRUE(PathExists(root.path()));
}

TEST_F(DownloadPassTest, AFailedOptionalDownloadIsLoggedAndPassedBy) {
  server.Serve("/b.exe", kAbc);
  config.prerequisites = {ToDownload(L"Missing", server.Url(L"/missing.exe")),
                          ToDownload(L"Second", server.Url(L"/b.exe"))};

  LogCapture log;
  RecordingObserver observer;
  const std::unique_ptr<OperationsEngine> engine = MakeEngine();
  EXPECT_EQ(engine->DownloadPass(&observer), kPassDone);
  EXPECT_EQ(log.Messages(), (std::vector<std::wstring>{Started(L"Missing"),
                                                        Failed(TRANSFER_E_NOT_FOUND),
                                                        Started(L"Second"), kCompleted,
                                                        kAccepted}));
  EXPECT_TRUE(observer.PassErrors().empty());
  EXPECT_FALSE(config.prerequisites[0].downloaded);
  EXPECT_EQ(engine->GetAction(0), Download);
  EXPECT_EQ(engine->downloads().items[0].status, 4);
  EXPECT_TRUE(config.prerequisites[1].downloaded);
  EXPECT_EQ(engine->downloads().lastError, 0u);
}

TEST_F(DownloadPassTest, AFailedMandatoryDownloadEndsThePass) {
  server.Serve("/b.exe", kAbc);
  Prerequisite runtime = ToDownload(L"Runtime", server.Url(L"/missing.exe"));
  runtime.options = L"xm";
  config.prerequisites = {runtime, ToDownload(L"Second", server.Url(L"/b.exe"))};

  LogCapture log;
  RecordingObserver observer;
  const std::unique_ptr<OperationsEngine> engine = MakeEngine();
  EXPECT_EQ(engine->DownloadPass(&observer), kPassFailed);
  EXPECT_EQ(log.Messages(),
            (std::vector<std::wstring>{Started(L"Runtime"), Failed(TRANSFER_E_NOT_FOUND)}));
  EXPECT_EQ(observer.PassErrors(),
            (std::vector<std::pair<std::wstring, uint32_t>>{{L"Runtime", OPS_E_MANDATORY_FAILED}}));
  EXPECT_EQ(engine->downloads().lastError, TRANSFER_E_NOT_FOUND);
  EXPECT_EQ(server.RequestCount("/b.exe"), 0);
}

// "M" is not "m": option letters are case-sensitive.
TEST_F(DownloadPassTest, AnUpperCaseMDoesNotMakeItMandatory) {
  Prerequisite runtime = ToDownload(L"Runtime", server.Url(L"/missing.exe"));
  runtime.options = L"M";
  config.prerequisites = {runtime};
  EXPECT_EQ(MakeEngine()->DownloadPass(nullptr), kPassDone);
}

struct RejectionCase {
  const char* what;
  bool announceSize;
  int32_t exactSize;
  const wchar_t* md5;
  const std::vector<unsigned char>* body;
};

// A file that is not the one described is deleted with the folders it leaves empty (up to the
// download folder) and ends the pass, mandatory or not. Without an announced size the transfer
// cannot refuse a wrong size itself, so the file arrives and the pass judges it.
TEST_F(DownloadPassTest, ARejectedFileIsDeletedAndEndsThePass) {
  const std::vector<unsigned char> empty;
  const RejectionCase cases[] = {
      {"size differs", false, 4, L"", &kAbc},
      {"digest differs", true, 0, L"d41d8cd98f00b204e9800998ecf8427e", &kAbc},
      {"digest of 31 characters", true, 3, L"900150983cd24fb0d6963f7d28e17f7", &kAbc},
      {"empty file with a digest", true, 0, L"d41d8cd98f00b204e9800998ecf8427e", &empty},
  };
  for (const RejectionCase& c : cases) {
    server.Serve("/pkg/setup.exe", *c.body, c.announceSize);
    server.Serve("/next.exe", kAbc);
    ::CreateDirectoryW(InRoot(L"keep").c_str(), nullptr);
    testing::WriteBytes(InRoot(L"keep\\other.txt"), kAbc);
    Prerequisite runtime = ToDownload(L"Runtime", server.Url(L"/pkg/setup.exe"));
    runtime.exactSize = c.exactSize;
    runtime.md5 = c.md5;
    runtime.folder = L"a\\b";
    Prerequisite other = ToDownload(L"Other", server.Url(L"/next.exe"));
    other.folder = L"keep";
    config.prerequisites = {runtime, other};
    config.general.keepFiles = kKeepComplete;

    LogCapture log;
    RecordingObserver observer;
    EXPECT_EQ(MakeEngine()->DownloadPass(&observer), kPassFailed) << c.what;
    EXPECT_EQ(log.Messages(),
              (std::vector<std::wstring>{Started(L"Runtime"), kCompleted, kRejected}))
        << c.what;
    EXPECT_EQ(observer.PassErrors(),
              (std::vector<std::pair<std::wstring, uint32_t>>{
                  {L"setup.exe", OPS_E_DOWNLOAD_REJECTED}}))
        << c.what;
    EXPECT_FALSE(config.prerequisites[0].downloaded) << c.what;
    EXPECT_FALSE(PathExists(InRoot(L"a"))) << c.what;
    EXPECT_TRUE(PathExists(InRoot(L"keep\\other.txt"))) << c.what;
    EXPECT_TRUE(PathExists(root.path())) << c.what;
    EXPECT_EQ(server.RequestCount("/next.exe"), 0) << c.what;
  }
}

// KeepFiles "complete" and "prereqs" keep the downloads after the engine is gone; the other
// modes delete them and the folders they leave empty.
TEST_F(DownloadPassTest, KeepFilesDecidesWhetherDownloadsOutliveTheEngine) {
  server.Serve("/setup.exe", kAbc);
  const struct {
    int32_t keepFiles;
    bool kept;
  } cases[] = {
      {kKeepNone, false}, {kKeepMinimum, false}, {kKeepComplete, true}, {kKeepPrereqs, true},
      {7, false},
  };
  for (const auto& c : cases) {
    Prerequisite runtime = ToDownload(L"Runtime", server.Url(L"/setup.exe"));
    runtime.folder = L"sub\\deeper";
    config.prerequisites = {runtime};
    config.general.keepFiles = c.keepFiles;
    {
      const std::unique_ptr<OperationsEngine> engine = MakeEngine();
      ASSERT_EQ(engine->DownloadPass(nullptr), kPassDone) << c.keepFiles;
      ASSERT_TRUE(PathExists(InRoot(L"sub\\deeper\\setup.exe"))) << c.keepFiles;
    }
    EXPECT_EQ(PathExists(InRoot(L"sub\\deeper\\setup.exe")), c.kept) << c.keepFiles;
    EXPECT_EQ(PathExists(InRoot(L"sub")), c.kept) << c.keepFiles;
    EXPECT_TRUE(PathExists(root.path()));
    testing::RemoveTree(InRoot(L"sub"));
  }
}

TEST_F(DownloadPassTest, CancelBetweenDownloadsEndsThePassQuietly) {
  server.Serve("/a.exe", kAbc);
  server.Serve("/b.exe", kAbc);
  config.prerequisites = {ToDownload(L"First", server.Url(L"/a.exe")),
                          ToDownload(L"Second", server.Url(L"/b.exe"))};

  LogCapture log;
  RecordingObserver observer;
  observer.cancelAfterTransfers = 1;
  EXPECT_EQ(MakeEngine()->DownloadPass(&observer), kPassDone);
  EXPECT_EQ(log.Messages(), (std::vector<std::wstring>{Started(L"First"), kCompleted, kAccepted,
                                                        kCanceled}));
  EXPECT_EQ(observer.steps, std::vector<std::wstring>{L"Downloading First"});
  EXPECT_EQ(server.RequestCount("/b.exe"), 0);
  EXPECT_TRUE(observer.PassErrors().empty());
}

// Cancel pressed during the second of three downloads: that transfer fails with the cancel code
// and is logged as failed; the third is never started.
TEST_F(DownloadPassTest, CancelDuringADownloadFailsItAndStopsBeforeTheNext) {
  for (const char* path : {"/a.exe", "/b.exe", "/c.exe"}) server.Serve(path, kAbc);
  config.prerequisites = {ToDownload(L"First", server.Url(L"/a.exe")),
                          ToDownload(L"Second", server.Url(L"/b.exe")),
                          ToDownload(L"Third", server.Url(L"/c.exe"))};

  LogCapture log;
  RecordingObserver observer;
  observer.cancelAtStep = 2;
  EXPECT_EQ(MakeEngine()->DownloadPass(&observer), kPassDone);
  EXPECT_EQ(log.Messages(),
            (std::vector<std::wstring>{Started(L"First"), kCompleted, kAccepted,
                                       Started(L"Second"), Failed(TRANSFER_E_CANCELED),
                                       kCanceled}));
  EXPECT_FALSE(config.prerequisites[1].downloaded);
  EXPECT_EQ(server.RequestCount("/c.exe"), 0);
}

}  // namespace
}  // namespace kestrune
