#include "config/chainer_config.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

// Marks what the loader expanded, so the tests see which texts went through expansion.
std::wstring MarkExpanded(const std::wstring& text) { return L"<" + text + L">"; }

ChainerConfig LoadText(const std::wstring& text) {
  IniDocument document;
  document.Parse(text);
  ChainerConfig config;
  config.Load(document, MarkExpanded);
  return config;
}

std::vector<std::wstring> Names(const ChainerConfig& config) {
  std::vector<std::wstring> names;
  for (const Prerequisite& p : config.prerequisites) names.push_back(p.name);
  return names;
}

struct TruncationCase {
  const char* what;
  const wchar_t* text;
  std::vector<std::wstring> names;
};

TEST(ChainerConfigLoad, TruncationRules) {
  const TruncationCase cases[] = {
      {"no PREREQUISITES section", L"[A]\r\nUrl=u", {}},
      {"two complete prerequisites",
       L"[PREREQUISITES]\r\nApp1=A\r\nApp2=B\r\n[A]\r\nUrl=u\r\n[B]\r\nSetupFile=s", {L"A", L"B"}},
      {"second lacks every location key",
       L"[PREREQUISITES]\r\nApp1=A\r\nApp2=B\r\nApp3=C\r\n[A]\r\nUrl=u\r\n[B]\r\nCommandLine=x\r\n"
       L"[C]\r\nUrl=u",
       {L"A"}},
      {"gap in the numbering ends the list",
       L"[PREREQUISITES]\r\nApp1=A\r\nApp3=C\r\n[A]\r\nUrl=u\r\n[C]\r\nUrl=u", {L"A"}},
      {"list starting at App2 is empty", L"[PREREQUISITES]\r\nApp2=A\r\n[A]\r\nUrl=u", {}},
      {"missing section ends the list",
       L"[PREREQUISITES]\r\nApp1=A\r\nApp2=Z\r\nApp3=C\r\n[A]\r\nUrl=u\r\n[C]\r\nUrl=u", {L"A"}},
      {"SearchType2 without SearchString2 drops it and the rest",
       L"[PREREQUISITES]\r\nApp1=A\r\nApp2=B\r\nApp3=C\r\n[A]\r\nUrl=u\r\n"
       L"[B]\r\nUrl=u\r\nSearchType1=1\r\nSearchString1=x\r\nSearchType2=2\r\n[C]\r\nUrl=u",
       {L"A"}},
      {"names are case-sensitive", L"[PREREQUISITES]\r\nApp1=a\r\n[A]\r\nUrl=u", {}},
      {"app key is case-sensitive", L"[PREREQUISITES]\r\napp1=A\r\n[A]\r\nUrl=u", {}},
      {"empty location value still counts as present",
       L"[PREREQUISITES]\r\nApp1=A\r\n[A]\r\nSetupFile=", {L"A"}},
  };
  for (const TruncationCase& c : cases) {
    EXPECT_EQ(Names(LoadText(c.text)), c.names) << c.what;
  }
}

TEST(ChainerConfigLoad, SearchesStopAtFirstMissingType) {
  const ChainerConfig config = LoadText(
      L"[PREREQUISITES]\r\nApp1=A\r\nApp2=B\r\n"
      L"[A]\r\nUrl=u\r\nSearchType1=3\r\nSearchString1=HKLM\\K\r\nVerMin1=1.0\r\nVerMax1=2.0\r\n"
      L"RefContent1=r\r\nSearchCmdLine1=c\r\nSearchType2= 7x\r\nSearchString2=s2\r\n"
      L"SearchString3=ignored\r\nSearchType4=1\r\nSearchString4=after gap\r\n"
      L"[B]\r\nUrl=u\r\nSearchType2=1\r\nSearchString2=x");
  ASSERT_EQ(config.prerequisites.size(), 2u);
  const std::vector<PrereqSearch>& searches = config.prerequisites[0].searches;
  ASSERT_EQ(searches.size(), 2u);
  EXPECT_EQ(searches[0].searchType, 3);
  EXPECT_EQ(searches[0].searchString, L"HKLM\\K");
  EXPECT_EQ(searches[0].verMin, L"1.0");
  EXPECT_EQ(searches[0].verMax, L"2.0");
  EXPECT_EQ(searches[0].refContent, L"r");
  EXPECT_EQ(searches[0].searchCmdLine, L"c");
  EXPECT_EQ(searches[1].searchType, 7);
  EXPECT_EQ(searches[1].searchString, L"s2");
  EXPECT_TRUE(config.prerequisites[1].searches.empty());
}

struct LocationCase {
  const wchar_t* keys;
  int32_t kind;
  const wchar_t* location;
};

TEST(ChainerConfigLoad, LocationKindFirstFoundWinsAndOnlyDownloadsAndSitesExpand) {
  const LocationCase cases[] = {
      {L"Url=http://h/a.exe\r\nSetupFile=[SETUPEXEDIR]a.exe", kLocationPackage,
       L"[SETUPEXEDIR]a.exe"},
      {L"Url=http://h/a.exe\r\nOpenSite=http://site", kLocationSite, L"<http://site>"},
      {L"Url=%TEMP%\\a.exe", kLocationDownload, L"<%TEMP%\\a.exe>"},
  };
  for (const LocationCase& c : cases) {
    const ChainerConfig config =
        LoadText(std::wstring(L"[PREREQUISITES]\r\nApp1=A\r\n[A]\r\n") + c.keys);
    ASSERT_EQ(config.prerequisites.size(), 1u) << c.keys;
    EXPECT_EQ(config.prerequisites[0].locationKind, c.kind) << c.keys;
    EXPECT_EQ(config.prerequisites[0].location, c.location) << c.keys;
  }
}

TEST(ChainerConfigLoad, ReadsEveryPrerequisiteKey) {
  const ChainerConfig config = LoadText(
      L"[PREREQUISITES]\r\nApp1=Runtime 4\r\n"
      L"[Runtime 4]\r\nUrl=http://h/r.exe\r\nVerMin=1\r\nVerMax=2\r\nCommandLine=/full\r\n"
      L"BasicUiCommandLine=/passive\r\nNoUiCommandLine=/q\r\nOptions=mxi\r\nMD5=abc\r\n"
      L"ExactSize=  12abc\r\nFolder=sub\r\nRetValPropName=RT\r\nParentPrereq=P\r\n"
      L"Operator=1\r\nWinNTVersions=Windows XP x86\r\nWinNT64Versions=Windows 7 x64\r\n"
      L"LanguageList=1033");
  ASSERT_EQ(config.prerequisites.size(), 1u);
  const Prerequisite& p = config.prerequisites[0];
  EXPECT_EQ(p.name, L"Runtime 4");
  EXPECT_EQ(p.verMin, L"1");
  EXPECT_EQ(p.verMax, L"2");
  EXPECT_EQ(p.commandLine, L"/full");
  EXPECT_EQ(p.basicUiCommandLine, L"/passive");
  EXPECT_EQ(p.noUiCommandLine, L"/q");
  EXPECT_EQ(p.options, L"mxi");
  EXPECT_EQ(p.md5, L"abc");
  EXPECT_EQ(p.exactSize, 12);
  EXPECT_EQ(p.folder, L"sub");
  EXPECT_EQ(p.retValPropName, L"RT");
  EXPECT_EQ(p.parentPrereq, L"P");
  EXPECT_EQ(p.searchOperator, 1);
  EXPECT_EQ(p.winNtVersions, L"Windows XP x86");
  EXPECT_EQ(p.winNt64Versions, L"Windows 7 x64");
  EXPECT_EQ(p.languageList, L"1033;");
  EXPECT_TRUE(p.noDetection);
  EXPECT_EQ(p.state, Undefined);
  EXPECT_FALSE(p.selected);
  EXPECT_FALSE(p.downloaded);
}

struct ValueCase {
  const wchar_t* keys;
  const wchar_t* languageList;
  int32_t exactSize;
  int32_t searchOperator;
  bool noDetection;
};

TEST(ChainerConfigLoad, PostProcessing) {
  const ValueCase cases[] = {
      {L"LanguageList=1033;", L"1033;", 0, 0, false},
      {L"LanguageList=1033;1031", L"1033;1031;", 0, 0, false},
      {L"LanguageList=", L"", 0, 0, false},
      {L"ExactSize=-+5\r\nOperator=x", L"", -5, 0, false},
      {L"Options=I", L"", 0, 0, false},
      {L"Options=qi", L"", 0, 0, true},
  };
  for (const ValueCase& c : cases) {
    const ChainerConfig config =
        LoadText(std::wstring(L"[PREREQUISITES]\r\nApp1=A\r\n[A]\r\nUrl=u\r\n") + c.keys);
    ASSERT_EQ(config.prerequisites.size(), 1u) << c.keys;
    const Prerequisite& p = config.prerequisites[0];
    EXPECT_EQ(p.languageList, c.languageList) << c.keys;
    EXPECT_EQ(p.exactSize, c.exactSize) << c.keys;
    EXPECT_EQ(p.searchOperator, c.searchOperator) << c.keys;
    EXPECT_EQ(p.noDetection, c.noDetection) << c.keys;
  }
}

struct GeneralCase {
  const wchar_t* text;
  bool silent;
  bool basicUi;
  int32_t keepFiles;
  const wchar_t* extractionFolder;
};

TEST(ChainerConfigLoad, GeneralOptions) {
  const GeneralCase cases[] = {
      {L"", false, false, kKeepNone, L""},
      {L"[GeneralOptions]\r\nOptions=bq", true, true, kKeepNone, L""},
      {L"[GeneralOptions]\r\nOptions=b", false, true, kKeepNone, L""},
      {L"[GeneralOptions]\r\nOptions=QB", false, false, kKeepNone, L""},
      {L"[GeneralOptions]\r\nKeepFiles=complete", false, false, kKeepComplete, L""},
      {L"[GeneralOptions]\r\nKeepFiles=Complete", false, false, kKeepNone, L""},
      {L"[GeneralOptions]\r\nKeepFiles=minimum", false, false, kKeepMinimum, L""},
      {L"[GeneralOptions]\r\nKeepFiles=prereqs", false, false, kKeepPrereqs, L""},
      {L"[GeneralOptions]\r\nExtractionFolder=C:\\Temp\\{X}. \\", false, false, kKeepNone,
       L"C:\\Temp\\{X}\\"},
      {L"[GeneralOptions]\r\nExtractionFolder=[TempFolder]\\pkg", false, false, kKeepNone,
       L"[TempFolder]pkg\\"},
  };
  for (const GeneralCase& c : cases) {
    const ChainerConfig config = LoadText(c.text);
    EXPECT_EQ(config.IsSilent(), c.silent) << c.text;
    EXPECT_EQ(config.IsBasicUi(), c.basicUi) << c.text;
    EXPECT_EQ(config.general.keepFiles, c.keepFiles) << c.text;
    EXPECT_EQ(config.general.extractionFolder, c.extractionFolder) << c.text;
  }
}

TEST(ReadChainerSection, CopiesOnlyPresentKeys) {
  IniDocument document;
  ChainerSection section;
  section.cleanupFolders = L"kept";
  EXPECT_FALSE(ReadChainerSection(document, section));

  document.Parse(L"[PREREQ_CHAINER]\r\nLogFile=C:\\x.log\r\nCleanupFiles=a\x01" L"b");
  EXPECT_TRUE(ReadChainerSection(document, section));
  EXPECT_EQ(section.logFile, L"C:\\x.log");
  EXPECT_EQ(section.cleanupFiles, L"a\x01" L"b");
  EXPECT_EQ(section.cleanupFolders, L"kept");
}

TEST(ConfiguredFolders, DefaultAndConfiguredForms) {
  EXPECT_EQ(DefaultPackageFolder(L"C:\\Temp\\", L"{X}"), L"C:\\Temp\\{X}\\");
  EXPECT_EQ(DefaultPackageFolder(L"C:\\Temp", L"{X}\\"), L"C:\\Temp\\{X}\\");
  EXPECT_EQ(DefaultPackageFolder(L"C:\\Temp\\", L""), L"C:\\Temp\\");
  EXPECT_EQ(FinishConfiguredFolder(L"D:\\Downloads. "), L"D:\\Downloads\\");
  EXPECT_EQ(FinishConfiguredFolder(L"D:\\"), L"D:\\");
}

}  // namespace
}  // namespace kestrune
