// The real chainer.exe, copied into a package folder of the test prefix and started as a
// package would start it.
#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <thread>

#include "detect/os_filters.h"
#include "detect/os_names.h"
#include "detect/os_version.h"
#include "log/log_format.h"
#include "log/logger.h"
#include "platform/system_paths.h"
#include "platform/unique_handle.h"
#include "tests/chainer_run.h"
#include "tests/local_http_server.h"
#include "tests/test_support.h"
#include "transfer/transfer_codes.h"

namespace kestrune {
namespace {

using testing::ChainerRun;
using testing::ChildProcess;
using testing::ReadUtf16;

// The log lines of a download that the package's site does not have.
std::vector<std::wstring> DownloadNotFound(const std::wstring& name) {
  return {L"Starting download of:" + name,
          L"Download failed. Error:" + SystemErrorText(TRANSFER_E_NOT_FOUND)};
}

// The last lines of a log whose run asked for no reboot.
std::vector<std::wstring> NoRebootEnd() {
  return {L"After running prerequisites we have:", L"  Reboot was required=false",
          L"=====================End of Log=====================", L""};
}

std::vector<std::wstring> Joined(std::initializer_list<std::vector<std::wstring>> parts) {
  std::vector<std::wstring> lines;
  for (const std::vector<std::wstring>& part : parts) {
    lines.insert(lines.end(), part.begin(), part.end());
  }
  return lines;
}

const wchar_t kOnePrerequisite[] =
    L"[PREREQUISITES]\r\nApp1=Runtime\r\n[Runtime]\r\nUrl=http://127.0.0.1/r.exe\r\n";

TEST_F(ChainerRun, WithoutConfigurationEndsAtOnceAndWritesNothing) {
  const std::wstring exe = Install(L"setup.exe");
  EXPECT_EQ(RunToEnd(exe), 0u);
  EXPECT_EQ(FolderContent(), std::vector<std::wstring>{L"setup.exe"});
}

TEST_F(ChainerRun, LogFileGetsHeaderDecisionAndEndMarker) {
  const std::wstring exe = Install(L"setup.exe");
  const std::wstring log = scratch / L"run.log";
  Configure(L"setup.ini", std::wstring(L"[GeneralOptions]\r\nOptions=q\r\n") + kOnePrerequisite +
                              L"[PREREQ_CHAINER]\r\nLogFile=" + log + L"\r\n");
  EXPECT_EQ(RunToEnd(exe), 0u);

  const std::wstring text = ReadUtf16(log);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text[0], L'\xFEFF');
  EXPECT_EQ(text.compare(1, wcslen(kLogBanner), kLogBanner), 0);
  const std::vector<std::wstring> expected = {
      L"Searching for:Runtime", L"Search result:An acceptable version was found.",
      L"No prerequisite must be installed.",
      L"=====================End of Log=====================", L""};
  EXPECT_EQ(testing::LogBodyMessages(text), expected);
}

// Without "q" the evaluation runs on a worker thread while the main thread pumps messages; the
// decisions and their order are the same.
TEST_F(ChainerRun, NonSilentRunEvaluatesOnAWorker) {
  const std::wstring exe = Install(L"setup.exe");
  const std::wstring log = scratch / L"run.log";
  Configure(L"setup.ini",
            L"[PREREQUISITES]\r\nApp1=Runtime\r\nApp2=Tool\r\n"
            L"[Runtime]\r\nUrl=http://127.0.0.1/r.exe\r\nOperator=1\r\n"
            L"[Tool]\r\nSetupFile=tool.exe\r\nParentPrereq=Runtime\r\nOptions=i\r\n"
            L"[PREREQ_CHAINER]\r\nLogFile=" + log + L"\r\n");
  EXPECT_EQ(RunToEnd(exe), 0u);
  const std::vector<std::wstring> expected = {
      L"Searching for:Runtime",
      L"Search result:No acceptable version found. It must be downloaded.",
      L"Searching for:Tool",
      L"Search result:No acceptable version found. It must be installed from package.",
      L"Prerequisite selected for install:Runtime",
      L"Prerequisite selected for install:Tool",
      L"After running prerequisites we have:",
      L"  Reboot was required=false",
      L"=====================End of Log=====================", L""};
  EXPECT_EQ(testing::LogBodyMessages(ReadUtf16(log)), expected);
}

// Filters, "i" and parent links decided by the real run, with the names this prefix reports.
TEST_F(ChainerRun, EvaluationFiltersAndSelects) {
  testing::LocalHttpServer site;  // has none of the files: the selected download fails
  const std::wstring exe = Install(L"setup.exe");
  const std::wstring log = scratch / L"run.log";
  const OsNames names = NamesOfOs(GetOsVersionInfo());
  const LANGID own = ::GetSystemDefaultLangID();
  const std::wstring other = std::to_wstring(own == 1031 ? 1033 : 1031);
  Configure(L"setup.ini",
            L"[GeneralOptions]\r\nOptions=q\r\n"
            L"[PREREQUISITES]\r\nApp1=Excluded by name\r\nApp2=Excluded by language\r\n"
            L"App3=Allowed language\r\nApp4=Child of excluded\r\nApp5=Present\r\n"
            L"[Excluded by name]\r\nUrl=http://127.0.0.1/a.exe\r\nOperator=1\r\n"
            L"WinNTVersions=Windows XP x86, " + names.detailed + L"\r\n"
            L"WinNT64Versions=" + names.generic + L"\r\n"
            L"[Excluded by language]\r\nSetupFile=b.exe\r\nLanguageList=" + other + L"\r\n"
            L"[Allowed language]\r\nSetupFile=c.exe\r\nOperator=1\r\nLanguageList=" + other +
            L";" + std::to_wstring(own) + L"\r\n"
            L"[Child of excluded]\r\nUrl=" + site.Url(L"/d.exe") + L"\r\nOptions=i\r\n"
            L"ParentPrereq=Excluded by name\r\n"
            L"[Present]\r\nSetupFile=e.exe\r\nParentPrereq=Allowed language\r\n"
            L"[PREREQ_CHAINER]\r\nLogFile=" + log + L"\r\n");
  EXPECT_EQ(RunToEnd(exe), 0u);
  const std::wstring language = SystemLanguageLine(own);
  const std::vector<std::wstring> expected = {
      L"Wrong OS or Os language for:Excluded by name",
      language,
      L"Wrong OS or Os language for:Excluded by language",
      language,
      L"Searching for:Allowed language",
      L"Search result:No acceptable version found. It must be installed from package.",
      L"Searching for:Child of excluded",
      L"Search result:No acceptable version found. It must be downloaded.",
      L"Searching for:Present",
      L"Search result:An acceptable version was found.",
      L"Prerequisite selected for install:Allowed language",
      L"Prerequisite selected for install:Child of excluded",
      L"Starting installing prerequisites in silent mode."};
  EXPECT_EQ(testing::LogBodyMessages(ReadUtf16(log)),
            Joined({expected, DownloadNotFound(L"Child of excluded"), NoRebootEnd()}));
}

// Real searches of each family decide the states, combined by each operator rule.
TEST_F(ChainerRun, SearchesDecideTheStates) {
  testing::LocalHttpServer site;  // has none of the files: the selected download fails
  const std::wstring exe = Install(L"setup.exe");
  const std::wstring log = scratch / L"run.log";
  const std::wstring subkey = L"Software\\KestruneE2E-" + std::to_wstring(::GetCurrentProcessId());
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const auto set = [key](const wchar_t* name, const std::wstring& text) {
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  };
  set(L"Version", L"4.8.1");
  set(L"Text", L"hello world");
  ::RegCloseKey(key);
  ::CreateDirectoryW((scratch / L"lib").c_str(), nullptr);
  testing::CopyFileOrFail(testing::ProgramFolder() + L"\\fixture_with_version.dll",
                          scratch / L"lib\\probe.dll");

  const std::wstring value = L"HKCU\\" + subkey + L"\\";
  const std::wstring found = L"SearchType1=2\r\nSearchString1=" + value + L"Version\r\nVerMin1=4.8\r\n";
  const std::wstring missing = L"SearchType2=5\r\nSearchString2=" + value + L"NoKey\r\n";
  Configure(L"setup.ini",
            L"[GeneralOptions]\r\nOptions=q\r\n"
            L"[PREREQUISITES]\r\nApp1=Registry\r\nApp2=Too old\r\nApp3=File\r\nApp4=Compare\r\n"
            L"App5=All of two\r\nApp6=One of two\r\nApp7=Unknown operator\r\n"
            L"[Registry]\r\nUrl=http://127.0.0.1/a.exe\r\n" + found +
            L"[Too old]\r\nUrl=" + site.Url(L"/b.exe") + L"\r\nSearchType1=2\r\nSearchString1=" +
            value +
            L"Version\r\nVerMin1=9.0\r\n"
            L"[File]\r\nSetupFile=c.exe\r\nSearchType1=0\r\nSearchString1=" + scratch.path() +
            L"\\probe.dll?1\r\nVerMin1=10.20\r\n"
            L"[Compare]\r\nSetupFile=d.exe\r\nSearchType1=9\r\nSearchString1=" + value +
            L"Text\r\nRefContent1=Shello\r\n"
            L"[All of two]\r\nSetupFile=e.exe\r\nOperator=0\r\n" + found + missing +
            L"[One of two]\r\nSetupFile=f.exe\r\nOperator=1\r\n" +
            L"SearchType1=5\r\nSearchString1=" + value + L"NoKey\r\n" +
            L"SearchType2=2\r\nSearchString2=" + value + L"Version\r\n"
            L"[Unknown operator]\r\nSetupFile=g.exe\r\nOperator=2\r\n" + found +
            L"[PREREQ_CHAINER]\r\nLogFile=" + log + L"\r\n");
  EXPECT_EQ(RunToEnd(exe), 0u);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, subkey.c_str());

  const std::wstring foundLine = L"Search result:An acceptable version was found.";
  const std::wstring downloadLine = L"Search result:No acceptable version found. It must be downloaded.";
  const std::wstring packageLine =
      L"Search result:No acceptable version found. It must be installed from package.";
  const std::vector<std::wstring> expected = {
      L"Searching for:Registry", foundLine,
      L"Searching for:Too old", downloadLine,
      L"Searching for:File", foundLine,
      L"Searching for:Compare", foundLine,
      L"Searching for:All of two", packageLine,
      L"Searching for:One of two", foundLine,
      L"Searching for:Unknown operator", packageLine,
      L"Prerequisite selected for install:Too old",
      L"Prerequisite selected for install:All of two",
      L"Prerequisite selected for install:Unknown operator",
      L"Starting installing prerequisites in silent mode."};
  EXPECT_EQ(testing::LogBodyMessages(ReadUtf16(log)),
            Joined({expected, DownloadNotFound(L"Too old"), NoRebootEnd()}));
}

TEST_F(ChainerRun, DottedExecutableNameReadsItsOwnConfiguration) {
  const std::wstring exe = Install(L"a.b.exe");
  Configure(L"a.ini", std::wstring(kOnePrerequisite) + L"[PREREQ_CHAINER]\r\nLogFile=" +
                          (scratch / L"wrong.log") + L"\r\n");
  Configure(L"a.b.ini", std::wstring(kOnePrerequisite) + L"[PREREQ_CHAINER]\r\nLogFile=" +
                            (scratch / L"right.log") + L"\r\n");
  EXPECT_EQ(RunToEnd(exe), 0u);
  EXPECT_TRUE(testing::PathExists(scratch / L"right.log"));
  EXPECT_FALSE(testing::PathExists(scratch / L"wrong.log"));
}

TEST_F(ChainerRun, WithoutPrerequisitesNothingIsDecided) {
  const std::wstring exe = Install(L"setup.exe");
  const std::wstring log = scratch / L"run.log";
  Configure(L"setup.ini", L"[GeneralOptions]\r\nOptions=q\r\n[PREREQ_CHAINER]\r\nLogFile=" + log +
                              L"\r\n");
  EXPECT_EQ(RunToEnd(exe), 0u);
  const std::vector<std::wstring> expected = {
      L"=====================End of Log=====================", L""};
  EXPECT_EQ(testing::LogBodyMessages(ReadUtf16(log)), expected);
}

// A silent run downloads the setup into the download folder and checks its size and digest;
// the download outlives the run only when KeepFiles keeps it.
TEST_F(ChainerRun, SilentRunDownloadsAndChecksTheSetup) {
  testing::LocalHttpServer site;
  const std::wstring exe = Install(L"setup.exe");
  const std::wstring log = scratch / L"run.log";
  const std::wstring downloads = scratch / L"downloads";
  site.Serve("/dl/runtime.exe", {'a', 'b', 'c'});
  const struct {
    const wchar_t* keepFiles;
    bool kept;
  } cases[] = {{L"minimum", false}, {L"complete", true}};
  for (const auto& c : cases) {
    testing::RemoveTree(log);
    testing::RemoveTree(downloads);
    Configure(L"setup.ini",
              L"[GeneralOptions]\r\nOptions=q\r\nDownloadFolder=" + downloads +
                  L"\r\nKeepFiles=" + c.keepFiles +
                  L"\r\n[PREREQUISITES]\r\nApp1=Runtime\r\n[Runtime]\r\nUrl=" +
                  site.Url(L"/dl/runtime.exe") +
                  L"\r\nExactSize=3\r\nMD5=900150983CD24FB0D6963F7D28E17F72\r\nOperator=1\r\n"
                  L"[PREREQ_CHAINER]\r\nLogFile=" + log + L"\r\n");
    EXPECT_EQ(RunToEnd(exe), 0u) << c.keepFiles;
    const std::vector<std::wstring> expected = {
        L"Searching for:Runtime",
        L"Search result:No acceptable version found. It must be downloaded.",
        L"Prerequisite selected for install:Runtime",
        L"Starting installing prerequisites in silent mode.",
        L"Starting download of:Runtime",
        L"Download completed succesfully.",
        L"Downloaded file was accepted."};
    EXPECT_EQ(testing::LogBodyMessages(ReadUtf16(log)), Joined({expected, NoRebootEnd()}))
        << c.keepFiles;
    EXPECT_EQ(testing::PathExists(downloads + L"\\runtime.exe"), c.kept) << c.keepFiles;
  }
}

TEST_F(ChainerRun, ConfigurationWithoutLogFileCreatesNoLog) {
  const std::wstring exe = Install(L"nolog.exe");
  Configure(L"nolog.ini", std::wstring(L"[GeneralOptions]\r\nOptions=q\r\n") + kOnePrerequisite +
                              L"[PREREQ_CHAINER]\r\nLogFile=\r\n");
  const std::wstring shared = CommonAppDataFolder() + L"\\KESTRUNE_LOGS\\nolog.LOG";
  testing::RemoveTree(shared);
  EXPECT_EQ(RunToEnd(exe), 0u);
  const std::vector<std::wstring> expected = {L"nolog.exe", L"nolog.ini"};
  EXPECT_EQ(FolderContent(), expected);
  EXPECT_FALSE(testing::PathExists(shared));
  EXPECT_FALSE(testing::PathExists(TempFolder() + L"KESTRUNE_LOGS\\nolog.LOG"));
}

TEST_F(ChainerRun, TinyOrEmptyConfigurationRunsAsEmpty) {
  const std::wstring exe = Install(L"setup.exe");
  testing::WriteBytes(scratch / L"setup.ini", {0xFF});
  EXPECT_EQ(RunToEnd(exe), 0u);
  testing::WriteBytes(scratch / L"setup.ini", {0xFF, 0xFE, 'x'});
  EXPECT_EQ(RunToEnd(exe), 0u);
  testing::WriteBytes(scratch / L"setup.ini", {});
  EXPECT_EQ(RunToEnd(exe), 0u);
}

TEST_F(ChainerRun, UnusableLogPathFallsBackToTheSharedLogFolder) {
  const std::wstring name = L"fallback" + std::to_wstring(::GetCurrentProcessId());
  const std::wstring exe = Install(name + L".exe");
  Configure(name + L".ini", std::wstring(kOnePrerequisite) + L"[PREREQ_CHAINER]\r\nLogFile=" +
                                (scratch / L"no\\such\\folder\\x.log") + L"\r\n");
  const std::wstring shared = CommonAppDataFolder() + L"\\KESTRUNE_LOGS\\" + name + L".LOG";
  EXPECT_EQ(RunToEnd(exe), 0u);
  const std::wstring text = ReadUtf16(shared);
  testing::RemoveTree(shared);
  EXPECT_NE(text.find(L"-No prerequisite must be installed.\r\n"), std::wstring::npos);
}

// The key that keeps exit codes across a reboot. Only these tests, which run one at a time, use
// the production name.
class InterbootKey {
 public:
  InterbootKey() { ::RegDeleteKeyA(HKEY_CURRENT_USER, "InterbootContext"); }
  ~InterbootKey() { ::RegDeleteKeyA(HKEY_CURRENT_USER, "InterbootContext"); }

  // As a run before a reboot leaves it.
  void CreateWithValue() {
    RegistryKey key;
    ASSERT_EQ(::RegCreateKeyA(HKEY_CURRENT_USER, "InterbootContext", key.Receive()),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key.get(), "RUNTIME_EXIT", 0, REG_SZ,
                               reinterpret_cast<const BYTE*>("3010"), 4),
              ERROR_SUCCESS);
  }

  bool Exists() const {
    RegistryKey key;
    return ::RegOpenKeyExA(HKEY_CURRENT_USER, "InterbootContext", 0, KEY_READ,
                           key.Receive()) == ERROR_SUCCESS;
  }
};

// Every run that gets to the prerequisites deletes the key at its end (none of these ends
// waiting for a reboot); a run that never gets there leaves it.
TEST_F(ChainerRun, RunsThatReachThePrerequisitesDeleteTheInterbootKey) {
  const std::wstring exe = Install(L"setup.exe");
  InterbootKey key;
  const struct {
    const char* what;
    std::wstring configuration;  // empty: no configuration file
    bool keyKept;
  } cases[] = {
      {"no configuration", L"", true},
      {"no prerequisites", L"[GeneralOptions]\r\nOptions=q\r\n", false},
      {"nothing to install", std::wstring(L"[GeneralOptions]\r\nOptions=q\r\n") + kOnePrerequisite,
       false},
      {"prerequisites to install, no mode letter",
       std::wstring(kOnePrerequisite) + L"Operator=1\r\n", false},
  };
  for (const auto& c : cases) {
    testing::RemoveTree(scratch / L"setup.ini");
    if (!c.configuration.empty()) Configure(L"setup.ini", c.configuration);
    key.CreateWithValue();
    EXPECT_EQ(RunToEnd(exe), 0u) << c.what;
    EXPECT_EQ(key.Exists(), c.keyKept) << c.what;
  }
}

// While another installation holds the installer mutex the run waits; it goes on when the mutex
// is released.
TEST_F(ChainerRun, RunningInstallationDelaysTheRun) {
  const std::wstring exe = Install(L"setup.exe");
  const std::wstring log = scratch / L"run.log";
  Configure(L"setup.ini", std::wstring(L"[GeneralOptions]\r\nOptions=q\r\n") + kOnePrerequisite +
                              L"[PREREQ_CHAINER]\r\nLogFile=" + log + L"\r\n");
  KernelHandle mutex(::CreateMutexW(nullptr, TRUE, L"Global\\_MSIExecute"));
  ASSERT_TRUE(mutex);

  ChildProcess process(exe, scratch.path());
  ASSERT_TRUE(process.valid());
  EXPECT_FALSE(process.WaitFor(1500)) << "the run did not wait for the installer";
  EXPECT_EQ(ReadUtf16(log).find(L"No prerequisite must be installed."), std::wstring::npos);

  ::ReleaseMutex(mutex.get());
  ASSERT_TRUE(process.WaitFor(kRunTimeout));
  EXPECT_EQ(process.ExitCode(), 0u);
  EXPECT_NE(ReadUtf16(log).find(L"-No prerequisite must be installed.\r\n"), std::wstring::npos);
}

TEST_F(ChainerRun, AbandonedInstallerMutexSkipsTheEvaluation) {
  const std::wstring exe = Install(L"setup.exe");
  const std::wstring log = scratch / L"run.log";
  Configure(L"setup.ini", std::wstring(L"[GeneralOptions]\r\nOptions=q\r\n") + kOnePrerequisite +
                              L"[PREREQ_CHAINER]\r\nLogFile=" + log + L"\r\n");
  KernelHandle mutex;
  std::thread owner([&] { mutex.reset(::CreateMutexW(nullptr, TRUE, L"Global\\_MSIExecute")); });
  owner.join();
  ASSERT_TRUE(mutex);

  EXPECT_EQ(RunToEnd(exe), 0u);
  const std::vector<std::wstring> expected = {
      L"=====================End of Log=====================", L""};
  EXPECT_EQ(testing::LogBodyMessages(ReadUtf16(log)), expected);
}

}  // namespace
}  // namespace kestrune
