// The real chainer.exe deciding prerequisites by installer searches, against the probe products
// that the probe_products fixture installs into the prefix before these tests.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "platform/unique_handle.h"
#include "tests/chainer_run.h"
#include "tests/probe_products.h"
#include "tests/test_support.h"

namespace kestrune {
namespace {

using testing::kCurrentProbe;
using testing::kOlderProbe;
using testing::kProbeUpgradeCode;

const wchar_t kUnknownCode[] = L"{5D0C2B7E-3F41-4A96-B8E2-7C19D4A6F053}";
const wchar_t kFound[] = L"Search result:An acceptable version was found.";
const wchar_t kMissing[] = L"Search result:No acceptable version found. It must be downloaded.";

class InstallerSearchRun : public testing::ChainerRun {};

// One prerequisite section with a single search.
std::wstring Section(const std::wstring& name, int type, const std::wstring& code,
                     const std::wstring& verMin) {
  std::wstring text = L"[" + name + L"]\r\nUrl=http://127.0.0.1/setup.exe\r\nSearchType1=" +
                      std::to_wstring(type) + L"\r\nSearchString1=" + code + L"\r\n";
  if (!verMin.empty()) text += L"VerMin1=" + verMin + L"\r\n";
  return text;
}

// The evaluation lines of a log: which prerequisite was searched for and what was decided.
std::vector<std::wstring> SearchLines(const std::wstring& logText) {
  std::vector<std::wstring> lines;
  for (const std::wstring& message : testing::LogBodyMessages(logText)) {
    if (StartsWith(message, L"Searching for:") || StartsWith(message, L"Search result:")) {
      lines.push_back(message);
    }
  }
  return lines;
}

// Without "q" or "b" the run only evaluates, so nothing is downloaded for the missing ones.
TEST_F(InstallerSearchRun, EachInstallerSearchTypeFindsTheInstalledProducts) {
  const std::wstring exe = Install(L"setup.exe");
  const std::wstring log = scratch / L"run.log";
  Configure(L"setup.ini",
            L"[PREREQUISITES]\r\nApp1=Product\r\nApp2=Newer product\r\nApp3=Product line\r\n"
            L"App4=Other product line\r\nApp5=Component\r\nApp6=Other component\r\n" +
                Section(L"Product", 3, kCurrentProbe.productCode, L"2.0") +
                Section(L"Newer product", 3, kCurrentProbe.productCode, L"3.0") +
                Section(L"Product line", 4, kProbeUpgradeCode, L"1.7") +
                Section(L"Other product line", 4, kUnknownCode, L"") +
                Section(L"Component", 11, kOlderProbe.componentCode, L"") +
                Section(L"Other component", 11, kUnknownCode, L"") +
                L"[PREREQ_CHAINER]\r\nLogFile=" + log + L"\r\n");
  EXPECT_EQ(RunToEnd(exe), 0u);
  const std::vector<std::wstring> expected = {
      L"Searching for:Product",           kFound,
      L"Searching for:Newer product",     kMissing,
      L"Searching for:Product line",      kFound,
      L"Searching for:Other product line", kMissing,
      L"Searching for:Component",         kFound,
      L"Searching for:Other component",   kMissing};
  EXPECT_EQ(SearchLines(testing::ReadUtf16(log)), expected);
}

// Makes Wine load `library` from beside the programs named `exeName` before its own, as Windows
// does for every library it does not protect; Wine otherwise always prefers its own. Windows
// ignores the key. Removed at destruction.
class PreferLibraryBesideProgram {
 public:
  PreferLibraryBesideProgram(const std::wstring& exeName, const std::wstring& library)
      : key_(L"Software\\Wine\\AppDefaults\\" + exeName) {
    RegistryKey overrides;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, (key_ + L"\\DllOverrides").c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, overrides.Receive(), nullptr);
    const wchar_t order[] = L"native,builtin";
    ::RegSetValueExW(overrides.get(), library.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(order), sizeof(order));
  }
  ~PreferLibraryBesideProgram() { ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

 private:
  std::wstring key_;
};

// The chainer runs from folders that downloads reach: a library named like the installer's that
// lies there must not stand in for the system's.
TEST_F(InstallerSearchRun, LibraryBesideTheChainerDoesNotReplaceTheInstaller) {
  const std::wstring name = L"planted" + std::to_wstring(::GetCurrentProcessId());
  const std::wstring exe = Install(name + L".exe");
  testing::CopyFileOrFail(testing::ProgramFolder() + L"\\fixture_no_version.dll",
                          scratch / L"msi.dll");
  const std::wstring log = scratch / L"run.log";
  Configure(name + L".ini", L"[PREREQUISITES]\r\nApp1=Product\r\n" +
                                Section(L"Product", 3, kCurrentProbe.productCode, L"") +
                                L"[PREREQ_CHAINER]\r\nLogFile=" + log + L"\r\n");
  const PreferLibraryBesideProgram preferPlanted(name + L".exe", L"msi");
  EXPECT_EQ(RunToEnd(exe), 0u);
  const std::vector<std::wstring> expected = {L"Searching for:Product", kFound};
  EXPECT_EQ(SearchLines(testing::ReadUtf16(log)), expected);
}

}  // namespace
}  // namespace kestrune
