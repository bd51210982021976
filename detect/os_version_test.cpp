#include "detect/os_version.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "platform/unique_handle.h"

namespace kestrune {
namespace {

OsVersionInfo Version(uint32_t major, uint32_t minor, int32_t servicePack, uint32_t build) {
  OsVersionInfo os;
  os.major = major;
  os.minor = minor;
  os.servicePack = servicePack;
  os.build = build;
  return os;
}

struct AtLeastCase {
  OsVersionInfo a;
  OsVersionInfo b;
  bool atLeast;
};

TEST(IsOsAtLeast, MajorMinorServicePackBuildInThatOrder) {
  const OsVersionInfo win10 = Version(10, 0, 0, 0);
  const OsVersionInfo win7 = Version(6, 1, 0, 0);
  OsVersionInfo win7Server64 = Version(6, 1, 1, 7601);
  win7Server64.isServer = true;
  win7Server64.isWow64 = true;
  const AtLeastCase cases[] = {
      {Version(10, 0, 0, 19041), win10, true},
      {Version(10, 0, 0, 0), win10, true},   // four equal fields
      {Version(6, 3, 0, 9600), win10, false},
      {Version(6, 1, 1, 7601), win7, true},
      {Version(6, 0, 2, 6002), win7, false},
      {Version(5, 1, 3, 2600), win7, false},
      {Version(11, 0, 0, 0), Version(10, 5, 9, 99999), true},   // major decides
      {Version(6, 2, 0, 0), Version(6, 1, 9, 99999), true},     // then minor
      {Version(6, 1, 2, 0), Version(6, 1, 1, 99999), true},     // then the service pack
      {Version(6, 1, 1, 7600), Version(6, 1, 1, 7601), false},  // then the build
      {Version(6, 1, 1, 7602), Version(6, 1, 1, 7601), true},
      {Version(6, 1, -1, 0), Version(6, 1, 5, 0), true},        // the service pack is unsigned
      {Version(6, 1, 5, 0), Version(6, 1, -1, 0), false},
      {Version(4294967295u, 0, 0, 0), win10, true},             // so are the others
      {win7, win7Server64, false},                              // flags take no part
      {win7Server64, Version(6, 1, 1, 7601), true},
      {Version(6, 1, 1, 7601), win7Server64, true},
  };
  for (const AtLeastCase& c : cases) {
    EXPECT_EQ(IsOsAtLeast(c.a, c.b), c.atLeast)
        << c.a.major << "." << c.a.minor << " SP" << c.a.servicePack << " " << c.a.build
        << " against " << c.b.major << "." << c.b.minor << " SP" << c.b.servicePack << " "
        << c.b.build;
  }
}

struct StoredValue {
  const wchar_t* name;
  DWORD type;  // REG_SZ or REG_DWORD
  std::wstring text;
  DWORD number;
};

StoredValue Text(const wchar_t* name, const std::wstring& text) {
  return {name, REG_SZ, text, 0};
}
StoredValue Number(const wchar_t* name, DWORD number) { return {name, REG_DWORD, L"", number}; }

struct IdentificationCase {
  const char* what;
  std::vector<StoredValue> currentVersion;
  const wchar_t* productType;  // null: no such value
  OsVersionInfo expected;      // its isWow64 is also what the identification is given
};

// The version keys of a made-up system under a test key of HKEY_CURRENT_USER, unique to this
// process and removed afterwards.
class OsIdentificationTest : public ::testing::Test {
 protected:
  void TearDown() override {
    currentVersion_.reset();
    productOptions_.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Root().c_str());
  }

  static std::wstring Root() {
    return L"Software\\KestruneTest-os-" + std::to_wstring(::GetCurrentProcessId());
  }

  // Fresh, empty keys for the next case.
  void MakeKeys() {
    currentVersion_.reset();
    productOptions_.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Root().c_str());
    ASSERT_EQ(Create(L"\\CurrentVersion", currentVersion_), ERROR_SUCCESS);
    ASSERT_EQ(Create(L"\\ProductOptions", productOptions_), ERROR_SUCCESS);
  }

  static LONG Create(const wchar_t* subkey, RegistryKey& key) {
    return ::RegCreateKeyExW(HKEY_CURRENT_USER, (Root() + subkey).c_str(), 0, nullptr, 0,
                             KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
  }

  static void Store(HKEY key, const StoredValue& value) {
    const BYTE* data = reinterpret_cast<const BYTE*>(value.text.c_str());
    DWORD size = static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t));
    if (value.type == REG_DWORD) {
      data = reinterpret_cast<const BYTE*>(&value.number);
      size = sizeof(value.number);
    }
    ASSERT_EQ(::RegSetValueExW(key, value.name, 0, value.type, data, size), ERROR_SUCCESS)
        << "storing a test value";
  }

  RegistryKey currentVersion_;
  RegistryKey productOptions_;
};

void ExpectSameRecord(const OsVersionInfo& actual, const OsVersionInfo& expected,
                      const char* what) {
  EXPECT_EQ(actual.major, expected.major) << what;
  EXPECT_EQ(actual.minor, expected.minor) << what;
  EXPECT_EQ(actual.build, expected.build) << what;
  EXPECT_EQ(actual.servicePack, expected.servicePack) << what;
  EXPECT_EQ(actual.isServer, expected.isServer) << what;
  EXPECT_EQ(actual.isWow64, expected.isWow64) << what;
}

TEST_F(OsIdentificationTest, ReadsTheVersionValues) {
  const std::wstring overLimit = std::wstring(259, L'x') + L"3";  // 520 bytes + terminator
  const IdentificationCase cases[] = {
      {"numbers as DWORDs win over the text",
       {Number(L"CurrentMajorVersionNumber", 10), Number(L"CurrentMinorVersionNumber", 0),
        Text(L"CurrentVersion", L"6.3"), Text(L"CurrentBuildNumber", L"19041")},
       L"WinNT",
       {10, 0, 19041, 0, false, true}},
      {"three-character CurrentVersion",
       {Text(L"CurrentVersion", L"6.1"), Text(L"CurrentBuildNumber", L"7601abc"),
        Text(L"CSDVersion", L"Service Pack 1")},
       L"ServerNT",
       {6, 1, 7601, 1, true, true}},
      {"four-character CurrentVersion leaves the numbers",
       {Text(L"CurrentVersion", L"10.0"), Text(L"CurrentBuildNumber", L"10240"),
        Text(L"CSDVersion", L"")},
       L"LanmanNT",
       {0, 0, 10240, 0, true, false}},
      {"a zero major falls back to the text, which sets the minor too",
       {Number(L"CurrentMajorVersionNumber", 0), Number(L"CurrentMinorVersionNumber", 7),
        Text(L"CurrentVersion", L"5.2"), Text(L"CurrentBuildNumber", L"3790"),
        Text(L"CSDVersion", L"Service Pack 2")},
       nullptr,
       {5, 2, 3790, 2, false, false}},
      // "\n" and its terminator are the four bytes of the DWORD 10.
      {"numbers stored as text are not DWORDs",
       {Text(L"CurrentMajorVersionNumber", L"\n"), Text(L"CurrentMinorVersionNumber", L"0"),
        Text(L"CurrentVersion", L"6.2"), Text(L"CurrentBuildNumber", L"9200")},
       L"WinNT",
       {6, 2, 9200, 0, false, true}},
      {"no values at all", {}, nullptr, {0, 0, 0, 0, false, true}},
      {"a CSDVersion beyond 520 bytes reads as missing",
       {Text(L"CurrentVersion", L"6.0"), Text(L"CSDVersion", overLimit)},
       L"WinNT",
       {6, 0, 0, 0, false, false}},
      {"the service pack is the last character's distance from '0'",
       {Text(L"CurrentVersion", L"6.1"), Text(L"CSDVersion", L"Service Pack")},
       L"WinNT",
       {6, 1, 0, 'k' - '0', false, true}},
      {"a build with a minus sign wraps; spaces are not skipped",
       {Text(L"CurrentVersion", L"6.1"), Text(L"CurrentBuildNumber", L"-1"),
        Text(L"CSDVersion", L"Service Pack 3")},
       L"winnt",
       {6, 1, 4294967295u, 3, true, true}},
      {"a leading space gives build 0; an empty ProductType marks a server",
       {Text(L"CurrentVersion", L"6.1"), Text(L"CurrentBuildNumber", L" 7601")},
       L"",
       {6, 1, 0, 0, true, true}},
  };
  for (const IdentificationCase& c : cases) {
    MakeKeys();
    for (const StoredValue& value : c.currentVersion) Store(currentVersion_.get(), value);
    if (c.productType != nullptr) {
      Store(productOptions_.get(), Text(L"ProductType", c.productType));
    }
    const OsVersionInfo os =
        IdentifyOsVersion(currentVersion_.get(), productOptions_.get(), c.expected.isWow64);
    ExpectSameRecord(os, c.expected, c.what);
  }
}

TEST_F(OsIdentificationTest, WithoutProductOptionsTheSystemIsAWorkstation) {
  MakeKeys();
  Store(currentVersion_.get(), Text(L"CurrentVersion", L"6.1"));
  const OsVersionInfo os = IdentifyOsVersion(currentVersion_.get(), nullptr, true);
  ExpectSameRecord(os, {6, 1, 0, 0, false, true}, "no ProductOptions key");
}

// Reads a value of the running system's version keys in the 64-bit view, independently of the
// code under test.
bool ReadMachineValue(const wchar_t* path, const wchar_t* name, DWORD types, void* data,
                      DWORD size) {
  RegistryKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                      key.Receive()) != ERROR_SUCCESS) {
    return false;
  }
  return ::RegGetValueW(key.get(), nullptr, name, types, nullptr, data, &size) == ERROR_SUCCESS;
}

TEST(OsIdentification, RunningSystemIsWhatItsRegistrySays) {
  const wchar_t kCurrentVersion[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
  DWORD major = 0;
  DWORD minor = 0;
  wchar_t version[16] = {};
  wchar_t build[260] = {};
  wchar_t servicePack[260] = {};
  wchar_t productType[260] = {};
  if (!ReadMachineValue(kCurrentVersion, L"CurrentMajorVersionNumber", RRF_RT_REG_DWORD, &major,
                        sizeof(major))) {
    ASSERT_TRUE(ReadMachineValue(kCurrentVersion, L"CurrentVersion", RRF_RT_REG_SZ, version,
                                 sizeof(version)));
    ASSERT_EQ(std::wcslen(version), 3u);
    major = static_cast<DWORD>(version[0] - L'0');
    minor = static_cast<DWORD>(version[2] - L'0');
  } else {
    ReadMachineValue(kCurrentVersion, L"CurrentMinorVersionNumber", RRF_RT_REG_DWORD, &minor,
                     sizeof(minor));
  }
  ASSERT_TRUE(ReadMachineValue(kCurrentVersion, L"CurrentBuildNumber", RRF_RT_REG_SZ, build,
                               sizeof(build)));
  const bool hasPack = ReadMachineValue(kCurrentVersion, L"CSDVersion", RRF_RT_REG_SZ,
                                        servicePack, sizeof(servicePack)) &&
                       servicePack[0] != L'\0';
  ASSERT_TRUE(ReadMachineValue(L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions",
                               L"ProductType", RRF_RT_REG_SZ, productType, sizeof(productType)));
  BOOL wow64 = FALSE;
  ASSERT_TRUE(::IsWow64Process(::GetCurrentProcess(), &wow64));

  const OsVersionInfo& os = GetOsVersionInfo();
  EXPECT_NE(os.major, 0u);
  EXPECT_EQ(os.major, major);
  EXPECT_EQ(os.minor, minor);
  EXPECT_EQ(os.build, std::wcstoul(build, nullptr, 10));
  EXPECT_EQ(os.servicePack, hasPack ? servicePack[std::wcslen(servicePack) - 1] - L'0' : 0);
  EXPECT_EQ(os.isServer, std::wstring(productType) != L"WinNT");
  EXPECT_EQ(os.isWow64, wow64 != FALSE);
  EXPECT_EQ(&GetOsVersionInfo(), &os) << "later calls give the same record";
}

}  // namespace
}  // namespace kestrune
