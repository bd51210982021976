// The installer queries against products that really are installed: before these tests the
// probe_products fixture installs two packages built from testdata/probe_product.wxs with msiexec
// (a current and an older release sharing one upgrade code), and removes them afterwards.
#include "detect/windows_installer.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/system_paths.h"
#include "tests/probe_products.h"

namespace kestrune {
namespace {

using testing::kCurrentProbe;
using testing::kOlderProbe;
using testing::kProbeUpgradeCode;
using Texts = std::vector<std::wstring>;

// Registered nowhere.
const wchar_t kUnknownCode[] = L"{5D0C2B7E-3F41-4A96-B8E2-7C19D4A6F053}";

struct CodeCase {
  const wchar_t* what;
  std::wstring code;
  Texts versions;
};

TEST(CollectProductVersion, AppendsTheVersionStringOfAnInstalledProductOnly) {
  const CodeCase cases[] = {
      {L"current release", kCurrentProbe.productCode, {kCurrentProbe.version}},
      {L"older release", kOlderProbe.productCode, {kOlderProbe.version}},
      {L"unknown product", kUnknownCode, {}},
      {L"an upgrade code", kProbeUpgradeCode, {}},
      {L"a component code", kCurrentProbe.componentCode, {}},
      {L"not a code", L"Kestrune Probe", {}},
      {L"code without braces", std::wstring(kCurrentProbe.productCode).substr(1, 36), {}},
      {L"empty", L"", {}},
  };
  for (const CodeCase& c : cases) {
    Texts versions;
    CollectProductVersion(c.code, versions);
    EXPECT_EQ(versions, c.versions) << c.what;
  }
}

TEST(CollectProductVersion, KeepsWhatTheListAlreadyHolds) {
  Texts versions = {L"9.9"};
  CollectProductVersion(kCurrentProbe.productCode, versions);
  CollectProductVersion(kUnknownCode, versions);
  EXPECT_EQ(versions, (Texts{L"9.9", kCurrentProbe.version}));
}

TEST(CollectRelatedProductVersions, GivesTheVersionOfEveryProductOfTheUpgradeCode) {
  const CodeCase cases[] = {
      {L"shared upgrade code", kProbeUpgradeCode, {kOlderProbe.version, kCurrentProbe.version}},
      {L"unknown upgrade code", kUnknownCode, {}},
      {L"a product code", kCurrentProbe.productCode, {}},
      {L"not a code", L"Kestrune Probe", {}},
      {L"empty", L"", {}},
  };
  for (const CodeCase& c : cases) {
    Texts versions;
    CollectRelatedProductVersions(c.code, versions);
    // The installer enumerates in an order of its own.
    std::sort(versions.begin(), versions.end());
    EXPECT_EQ(versions, c.versions) << c.what;
  }
}

TEST(IsComponentInstalled, FindsTheComponentsOfInstalledProductsOnly) {
  const struct {
    const wchar_t* what;
    std::wstring code;
    bool installed;
  } cases[] = {
      {L"current release", kCurrentProbe.componentCode, true},
      {L"older release", kOlderProbe.componentCode, true},
      {L"unknown component", kUnknownCode, false},
      {L"a product code", kCurrentProbe.productCode, false},
      {L"not a code", L"probe.txt", false},
      {L"empty", L"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsComponentInstalled(c.code), c.installed) << c.what;
}

// A registered component whose key file is gone is absent, not installed: the search must not
// trust the registration alone.
TEST(IsComponentInstalled, ComponentWithoutItsFileIsNotInstalled) {
  const std::wstring folder =
      ShellFolderPath(CSIDL_PROGRAM_FILES).path + L"\\" + kOlderProbe.folderName + L"\\";
  const std::wstring file = folder + L"probe.txt";
  const std::wstring aside = folder + L"probe.txt.aside";
  ASSERT_TRUE(::MoveFileW(file.c_str(), aside.c_str())) << "no key file at the expected place";
  const bool installed = IsComponentInstalled(kOlderProbe.componentCode);
  ASSERT_TRUE(::MoveFileW(aside.c_str(), file.c_str()));
  EXPECT_FALSE(installed);
  EXPECT_TRUE(IsComponentInstalled(kOlderProbe.componentCode));
}

}  // namespace
}  // namespace kestrune
