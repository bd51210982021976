#include "detect/os_names.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

const bool kServer = true;
const bool kWorkstation = false;
const bool k64 = true;
const bool k32 = false;

struct NameCase {
  uint32_t major;
  uint32_t minor;
  uint32_t build;
  int32_t servicePack;
  bool isServer;
  bool isWow64;
  const wchar_t* detailed;
  const wchar_t* generic;
};

const NameCase kNameCases[] = {
    // Windows 10: the detailed name follows the build.
    {10, 0, 10240, 0, kWorkstation, k64, L"Windows 10 version 1507 x64", L"Windows 10 x64"},
    {10, 0, 10240, 0, kWorkstation, k32, L"Windows 10 version 1507 x86", L"Windows 10 x86"},
    {10, 0, 10586, 0, kWorkstation, k64, L"Windows 10 version 1511 x64", L"Windows 10 x64"},
    {10, 0, 14393, 0, kWorkstation, k64, L"Windows 10 version 1607 x64", L"Windows 10 x64"},
    {10, 0, 15063, 0, kWorkstation, k32, L"Windows 10 version 1703 x86", L"Windows 10 x86"},
    {10, 0, 16299, 0, kWorkstation, k64, L"Windows 10 version 1709 x64", L"Windows 10 x64"},
    {10, 0, 17134, 0, kWorkstation, k64, L"Windows 10 version 1803 x64", L"Windows 10 x64"},
    {10, 0, 17763, 0, kWorkstation, k64, L"Windows 10 version 1809 x64", L"Windows 10 x64"},
    {10, 0, 18362, 0, kWorkstation, k64, L"Windows 10 version 1903 x64", L"Windows 10 x64"},
    {10, 0, 18363, 0, kWorkstation, k64, L"Windows 10 version 1909 x64", L"Windows 10 x64"},
    {10, 0, 18363, 0, kWorkstation, k32, L"Windows 10 version 1909 x86", L"Windows 10 x86"},
    {10, 0, 19041, 0, kWorkstation, k64, L"Windows 10 version 2004 x64", L"Windows 10 x64"},
    {10, 0, 19042, 0, kWorkstation, k64, L"Windows 10 x64", L"Windows 10 x64"},
    {10, 0, 0, 0, kWorkstation, k32, L"Windows 10 x86", L"Windows 10 x86"},
    // Windows 10 servers on a 64-bit system.
    {10, 0, 14393, 0, kServer, k64, L"Windows Server 2016 x64", L"Windows Server x64"},
    {10, 0, 17763, 0, kServer, k64, L"Windows Server 2019 x64", L"Windows Server x64"},
    {10, 0, 19041, 0, kServer, k64, L"Windows 10 version 2004 x64", L"Windows Server x64"},
    {10, 0, 10240, 0, kServer, k64, L"Windows 10 version 1507 x64", L"Windows Server x64"},
    {10, 0, 20348, 0, kServer, k64, L"Windows Server x64", L"Windows Server x64"},
    // A 32-bit server of that level is named as the client.
    {10, 0, 14393, 0, kServer, k32, L"Windows 10 version 1607 x86", L"Windows 10 x86"},
    {10, 0, 20348, 0, kServer, k32, L"Windows 10 x86", L"Windows 10 x86"},
    // 6.3 and 6.2: the service pack plays no part.
    {6, 3, 9600, 0, kWorkstation, k64, L"Windows 8.1 x64", L"Windows 8.1 x64"},
    {6, 3, 9600, 1, kWorkstation, k32, L"Windows 8.1 x86", L"Windows 8.1 x86"},
    {6, 3, 9600, 0, kServer, k64, L"Windows Server 2012 R2 x64", L"Windows Server 2012 R2 x64"},
    {6, 3, 9600, 0, kServer, k32, L"Windows 8.1 x86", L"Windows 8.1 x86"},
    {6, 2, 9200, 0, kWorkstation, k64, L"Windows 8 x64", L"Windows 8 x64"},
    {6, 2, 9200, 5, kWorkstation, k32, L"Windows 8 x86", L"Windows 8 x86"},
    {6, 2, 9200, 0, kServer, k64, L"Windows Server 2012 x64", L"Windows Server 2012 x64"},
    {6, 2, 9200, 0, kServer, k32, L"Windows 8 x86", L"Windows 8 x86"},
    // 6.1 by service pack.
    {6, 1, 7600, 0, kWorkstation, k64, L"Windows 7 RTM x64", L"Windows 7 x64"},
    {6, 1, 7600, 0, kWorkstation, k32, L"Windows 7 RTM x86", L"Windows 7 x86"},
    {6, 1, 7601, 1, kWorkstation, k64, L"Windows 7 SP1 x64", L"Windows 7 x64"},
    {6, 1, 7601, 1, kWorkstation, k32, L"Windows 7 SP1 x86", L"Windows 7 x86"},
    {6, 1, 7602, 2, kWorkstation, k64, L"Windows 7 x64", L"Windows 7 x64"},
    {6, 1, 7601, -1, kWorkstation, k32, L"Windows 7 x86", L"Windows 7 x86"},
    {6, 1, 7600, 0, kServer, k64, L"Windows Server 2008 R2 RTM x64", L"Windows Server 2008 R2 x64"},
    {6, 1, 7601, 1, kServer, k64, L"Windows Server 2008 R2 SP1 x64", L"Windows Server 2008 R2 x64"},
    {6, 1, 7601, 59, kServer, k64, L"Windows Server 2008 R2 x64", L"Windows Server 2008 R2 x64"},
    {6, 1, 7601, 1, kServer, k32, L"Windows 7 SP1 x86", L"Windows 7 x86"},
    {6, 1, 7600, 0, kServer, k32, L"Windows 7 RTM x86", L"Windows 7 x86"},
    // 6.0: a server is named as one also when 32-bit.
    {6, 0, 6000, 0, kWorkstation, k64, L"Windows Vista RTM x64", L"Windows Vista x64"},
    {6, 0, 6000, 0, kWorkstation, k32, L"Windows Vista RTM x86", L"Windows Vista x86"},
    {6, 0, 6001, 1, kWorkstation, k64, L"Windows Vista SP1 x64", L"Windows Vista x64"},
    {6, 0, 6002, 2, kWorkstation, k32, L"Windows Vista SP2 x86", L"Windows Vista x86"},
    {6, 0, 6003, 3, kWorkstation, k64, L"Windows Vista x64", L"Windows Vista x64"},
    {6, 0, 6001, 0, kServer, k64, L"Windows Server 2008 RTM x64", L"Windows Server 2008 x64"},
    {6, 0, 6001, 0, kServer, k32, L"Windows Server 2008 RTM x86", L"Windows Server 2008 x86"},
    {6, 0, 6001, 1, kServer, k64, L"Windows Server 2008 RTM x64", L"Windows Server 2008 x64"},
    {6, 0, 6001, 1, kServer, k32, L"Windows Server 2008 RTM x86", L"Windows Server 2008 x86"},
    {6, 0, 6002, 2, kServer, k64, L"Windows Server 2008 SP2 x64", L"Windows Server 2008 x64"},
    {6, 0, 6002, 2, kServer, k32, L"Windows Server 2008 SP2 x86", L"Windows Server 2008 x86"},
    {6, 0, 6003, 3, kServer, k32, L"Windows Server 2008 x86", L"Windows Server 2008 x86"},
    // 5.2: a workstation is the 64-bit edition of XP whatever the flag says.
    {5, 2, 3790, 1, kWorkstation, k64, L"Windows XP SP1 x64", L"Windows XP x64"},
    {5, 2, 3790, 2, kWorkstation, k32, L"Windows XP SP2 x64", L"Windows XP x64"},
    {5, 2, 3790, 0, kWorkstation, k32, L"Windows XP x64", L"Windows XP x64"},
    {5, 2, 3790, 1, kServer, k64, L"Windows Server 2003 SP1 x64", L"Windows Server 2003 x64"},
    {5, 2, 3790, 1, kServer, k32, L"Windows Server 2003 SP1 x86", L"Windows Server 2003 x86"},
    {5, 2, 3790, 2, kServer, k32, L"Windows Server 2003 SP2 x86", L"Windows Server 2003 x86"},
    {5, 2, 3790, 2, kServer, k64, L"Windows Server 2003 SP2 x64", L"Windows Server 2003 x64"},
    {5, 2, 3790, 3, kServer, k64, L"Windows Server 2003 x64", L"Windows Server 2003 x64"},
    {5, 2, 3790, 0, kServer, k32, L"Windows Server 2003 x86", L"Windows Server 2003 x86"},
    // 5.1 is always x86, servers included.
    {5, 1, 2600, 1, kWorkstation, k32, L"Windows XP SP1 x86", L"Windows XP x86"},
    {5, 1, 2600, 2, kWorkstation, k64, L"Windows XP SP2 x86", L"Windows XP x86"},
    {5, 1, 2600, 3, kServer, k32, L"Windows XP SP3 x86", L"Windows XP x86"},
    {5, 1, 2600, 0, kServer, k64, L"Windows XP x86", L"Windows XP x86"},
    {5, 1, 2600, 4, kWorkstation, k32, L"Windows XP x86", L"Windows XP x86"},
    // Everything else.
    {10, 1, 19041, 0, kWorkstation, k64, L"OsNotIdentified", L"OsNotIdentified"},
    {11, 0, 22000, 0, kWorkstation, k64, L"OsNotIdentified", L"OsNotIdentified"},
    {6, 4, 9841, 0, kWorkstation, k64, L"OsNotIdentified", L"OsNotIdentified"},
    {5, 0, 2195, 4, kServer, k32, L"OsNotIdentified", L"OsNotIdentified"},
    {4, 0, 1381, 6, kWorkstation, k32, L"OsNotIdentified", L"OsNotIdentified"},
    {0, 0, 0, 0, kWorkstation, k32, L"OsNotIdentified", L"OsNotIdentified"},
};

TEST(OsNames, EveryTableRow) {
  for (const NameCase& c : kNameCases) {
    OsVersionInfo os;
    os.major = c.major;
    os.minor = c.minor;
    os.build = c.build;
    os.servicePack = c.servicePack;
    os.isServer = c.isServer;
    os.isWow64 = c.isWow64;
    const OsNames names = NamesOfOs(os);
    const std::wstring expected = std::wstring(c.detailed) + L" | " + c.generic;
    EXPECT_EQ(names.detailed + L" | " + names.generic, expected)
        << c.major << "." << c.minor << "." << c.build << " SP" << c.servicePack
        << (c.isServer ? " server" : " workstation") << (c.isWow64 ? " 64-bit" : " 32-bit");
    EXPECT_EQ(DetailedOsName(os), names.detailed);
    EXPECT_EQ(GenericOsName(os), names.generic);
  }
}

struct OsListCase {
  const char* what;
  const wchar_t* winNtVersions;
  const wchar_t* winNt64Versions;
  bool isWow64;
  bool allowed;
};

// The system is Windows 7 SP1, 64-bit or 32-bit as the row says.
TEST(OsListsAllow, ExclusionListOfTheRunningArchitecture) {
  const OsNames win7x64 = {L"Windows 7 SP1 x64", L"Windows 7 x64"};
  const OsNames win7x86 = {L"Windows 7 SP1 x86", L"Windows 7 x86"};
  const OsListCase cases[] = {
      {"empty lists allow", L"", L"", k64, true},
      {"empty x86 list allows", L"", L"", k32, true},
      {"x64 marker excludes", L"", kAllX64VersionsMarker, k64, false},
      {"x86 marker excludes", kAllX86VersionsMarker, L"", k32, false},
      {"x86 marker in the x64 list is a plain list", L"", kAllX86VersionsMarker, k64, true},
      {"x64 marker in the x86 list is a plain list", kAllX64VersionsMarker, L"", k32, true},
      {"marker with a trailing space is a plain list", L"",
       L"Windows XP/Vista/Windows 7/Windows 8 x64/Windows 8.1 x64/Windows 10 x64 ", k64, true},
      {"generic name excludes", L"", L"Windows 7 x64", k64, false},
      {"detailed name excludes", L"", L"Windows 7 SP1 x64", k64, false},
      {"other level excludes nothing", L"", L"Windows 7 RTM x64", k64, true},
      {"name among others", L"", L"Windows XP x64, Windows 7 x64, Windows 10 x64", k64, false},
      {"name as the last piece", L"", L"Windows 8 x64, Windows 7 SP1 x64", k64, false},
      {"empty pieces are harmless", L"", L"Windows 8 x64, , Windows 10 x64, ", k64, true},
      {"the x86 list is not consulted on 64-bit", L"Windows 7 x86, Windows 7 SP1 x64",
       L"Windows 10 x64", k64, true},
      {"the x64 list is not consulted on 32-bit", L"Windows 10 x86",
       L"Windows 7 x86", k32, true},
      {"x86 list excludes on 32-bit", L"Windows 7 x86", L"", k32, false},
      {"x86 detailed name excludes on 32-bit", L"Windows 8 x86, Windows 7 SP1 x86", L"", k32,
       false},
      {"lower-case w excludes nothing", L"", L"windows 7 x64", k64, true},
      {"trailing space excludes nothing", L"", L"Windows 7 x64 ", k64, true},
      {"leading space excludes nothing", L"", L"Windows 8 x64,  Windows 7 x64", k64, true},
      {"comma without space joins two names", L"", L"Windows 7 x64,Windows 7 SP1 x64", k64,
       true},
      {"semicolon is no separator", L"", L"Windows 7 x64;", k64, true},
  };
  for (const OsListCase& c : cases) {
    const OsNames& names = c.isWow64 ? win7x64 : win7x86;
    EXPECT_EQ(OsListsAllow(c.winNtVersions, c.winNt64Versions, c.isWow64, names), c.allowed)
        << c.what;
  }
}

TEST(OsListsAllow, UnidentifiedSystemIsExcludedOnlyByItsNameOrTheMarker) {
  const OsNames unknown = {kOsNotIdentified, kOsNotIdentified};
  EXPECT_TRUE(OsListsAllow(L"", L"Windows 10 x64, Windows 7 x64", k64, unknown));
  EXPECT_FALSE(OsListsAllow(L"", L"Windows 10 x64, OsNotIdentified", k64, unknown));
  EXPECT_FALSE(OsListsAllow(kAllX86VersionsMarker, L"", k32, unknown));
}

struct LanguageCase {
  const wchar_t* list;
  uint16_t langId;
  bool allowed;
};

TEST(LanguageListAllows, DecimalEntriesSeparatedBySemicolons) {
  const LanguageCase cases[] = {
      {L"", 1033, true},
      {L"", 0, true},
      {L"1033", 1033, true},
      {L"1033", 1031, false},
      {L"1033;", 1033, true},
      {L"1033;", 1031, false},
      {L"1031;1033", 1031, true},
      {L"1031;1033", 1033, true},
      {L"1031;1033", 1036, false},
      {L"1031;;", 1031, true},
      {L"1031;;", 1033, false},
      {L"1031;;", 0, false},     // empty entries match no language, not even 0
      {L";", 0, false},
      {L";;1033", 1033, true},
      {L" 1033", 1033, true},    // leading spaces are skipped by the number reader
      {L"1033 ", 1033, true},    // the number ends at the first non-digit
      {L"1033abc", 1033, true},
      {L"+1033", 1033, true},
      {L"66569", 1033, true},    // 0x10409: only the low 16 bits count
      {L"66569", 1, false},
      {L"-64503", 1033, true},   // 0xFFFF0409 once wrapped
      {L"abc", 0, true},         // no digits read as 0
      {L"abc", 1033, false},
      {L"1033,1031", 1031, false},  // a comma is no separator: one entry, read as 1033
      {L"1033,1031", 1033, true},
  };
  for (const LanguageCase& c : cases) {
    EXPECT_EQ(LanguageListAllows(c.list, c.langId), c.allowed)
        << "list [" << c.list << "] language " << c.langId;
  }
}

TEST(FormatSystemLanguageLine, DecimalIdentifierThenName) {
  EXPECT_EQ(FormatSystemLanguageLine(1033, L"English (United States)"),
            L"SystemDefault LangID=1033-English (United States)");
  EXPECT_EQ(FormatSystemLanguageLine(65535, L""), L"SystemDefault LangID=65535-");
  EXPECT_EQ(FormatSystemLanguageLine(0, L"x"), L"SystemDefault LangID=0-x");
}

}  // namespace
}  // namespace kestrune
