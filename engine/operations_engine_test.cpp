#include "engine/operations_engine.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace kestrune {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

Prerequisite Record(int32_t state, bool selected, bool downloaded, int32_t locationKind,
                    const wchar_t* location) {
  Prerequisite p;
  p.name = L"Sample";
  p.state = state;
  p.selected = selected;
  p.downloaded = downloaded;
  p.locationKind = locationKind;
  p.location = location;
  return p;
}

// An engine over a download folder of its own that holds "present.exe".
class EngineTest : public ::testing::Test {
 protected:
  EngineTest() { WriteBytes(root / L"present.exe", {'x', 'y'}); }

  OperationsEngine MakeEngine() {
    return OperationsEngine(config, packageFiles, root.path(), store);
  }

  ScratchFolder root;
  ChainerConfig config;
  PackageFileResolver packageFiles;
  // Never written by these tests; the name is still this process's own.
  InterbootStore store{"KestruneEngineTest-" + std::to_string(::GetCurrentProcessId()), true};
};

const wchar_t kPresentUrl[] = L"http://127.0.0.1/dl/present.exe";
const wchar_t kAbsentUrl[] = L"http://127.0.0.1/dl/absent.exe";

TEST_F(EngineTest, GetActionFromSelectionStateFlagAndLocation) {
  const struct {
    const char* what;
    Prerequisite record;
    int action;
  } cases[] = {
      {"not selected, whatever the state",
       Record(Download, false, false, kLocationDownload, kAbsentUrl), NotSelected},
      {"not selected, found", Record(Found, false, false, kLocationPackage, L"a.exe"),
       NotSelected},
      {"selected download", Record(Download, true, false, kLocationDownload, kAbsentUrl),
       Download},
      {"selected download already downloaded",
       Record(Download, true, true, kLocationDownload, kAbsentUrl), AlreadyDownloaded},
      {"the flag counts only for downloads",
       Record(InstallFromPackage, true, true, kLocationPackage, L"a.exe"), InstallFromPackage},
      {"open site", Record(OpenSite, true, false, kLocationSite, L"http://h/"), OpenSite},
      {"excluded by the system", Record(OsNotSupported, true, false, kLocationPackage, L"a"),
       OsNotSupported},
      {"no acceptable version",
       Record(NoAcceptableVersion, true, false, kLocationDownload, kAbsentUrl),
       NoAcceptableVersion},
      {"a download state present on disk is not looked up",
       Record(Download, true, false, kLocationDownload, kPresentUrl), Download},
      {"found and selected, package setup",
       Record(Found, true, false, kLocationPackage, L"a.exe"), InstallFromPackage},
      {"found and selected, site", Record(Found, true, false, kLocationSite, L"http://h/"),
       OpenSite},
      {"found and selected, download present",
       Record(Found, true, false, kLocationDownload, kPresentUrl), AlreadyDownloaded},
      {"found and selected, download absent",
       Record(Found, true, false, kLocationDownload, kAbsentUrl), Download},
      {"found and selected, the flag does not count",
       Record(Found, true, true, kLocationDownload, kAbsentUrl), Download},
      {"found and selected, a local file is never downloaded",
       Record(Found, true, false, kLocationDownload, L"file:///C:/nowhere/a.exe"),
       AlreadyDownloaded},
  };
  for (const auto& c : cases) {
    config.prerequisites = {c.record};
    const OperationsEngine engine = MakeEngine();
    EXPECT_EQ(engine.GetAction(0), c.action) << c.what;
  }
}

TEST_F(EngineTest, GetActionPresenceUsesExactSizeAndFolder) {
  ::CreateDirectoryW((root / L"sub").c_str(), nullptr);
  WriteBytes(root / L"sub\\named.exe", {'1', '2', '3'});
  const struct {
    int32_t exactSize;
    const wchar_t* folder;
    int action;
  } cases[] = {
      {2, L"", AlreadyDownloaded},
      {3, L"", Download},
      {0, L"sub?named.exe", AlreadyDownloaded},
      {3, L"sub?named.exe", AlreadyDownloaded},
      {2, L"sub?named.exe", Download},
      {0, L"sub", Download},
  };
  for (const auto& c : cases) {
    Prerequisite p = Record(Found, true, false, kLocationDownload, kPresentUrl);
    p.exactSize = c.exactSize;
    p.folder = c.folder;
    config.prerequisites = {p};
    const OperationsEngine engine = MakeEngine();
    EXPECT_EQ(engine.GetAction(0), c.action) << c.exactSize << " " << c.folder;
  }
}

TEST_F(EngineTest, DownloadTargetBelowTheDownloadFolder) {
  const struct {
    const wchar_t* root;
    const wchar_t* url;
    const wchar_t* folder;
    const wchar_t* target;
  } cases[] = {
      {L"C:\\dl", L"http://h/files/setup.exe", L"", L"C:\\dl\\setup.exe"},
      {L"C:\\dl\\", L"http://h/files/setup.exe", L"", L"C:\\dl\\setup.exe"},
      {L"C:\\dl", L"http://h/files/setup.exe?v=2", L"", L"C:\\dl\\setup.exe"},
      {L"C:\\dl", L"http://h/files/setup.exe", L"sub", L"C:\\dl\\sub\\setup.exe"},
      {L"C:\\dl", L"http://h/files/setup.exe", L"sub\\", L"C:\\dl\\sub\\setup.exe"},
      {L"C:\\dl", L"http://h/files/setup.exe", L"sub?setup2.exe", L"C:\\dl\\sub\\setup2.exe"},
      {L"C:\\dl", L"http://h/files/setup.exe", L"?named.exe", L"C:\\dl\\named.exe"},
      {L"C:\\dl", L"http://h/get.php?file=x.exe", L"", L"C:\\dl\\file=x.exe"},
  };
  for (const auto& c : cases) {
    const OperationsEngine engine(config, packageFiles, c.root, store);
    EXPECT_EQ(engine.DownloadTarget(c.url, c.folder), c.target) << c.url << " " << c.folder;
  }
}

TEST_F(EngineTest, TheDownloadRootEndsInABackslash) {
  EXPECT_EQ(MakeEngine().downloads().root, root.path() + L"\\");
  const OperationsEngine withSlash(config, packageFiles, root.path() + L"\\", store);
  EXPECT_EQ(withSlash.downloads().root, root.path() + L"\\");
}

}  // namespace
}  // namespace kestrune
