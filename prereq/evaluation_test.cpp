#include "prereq/evaluation.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace kestrune {
namespace {

using testing::LogCapture;

Prerequisite Record(const wchar_t* name, int32_t state, const wchar_t* parent = L"",
                    bool selected = false) {
  Prerequisite p;
  p.name = name;
  p.state = state;
  p.parentPrereq = parent;
  p.selected = selected;
  return p;
}

std::wstring Selected(const wchar_t* name) {
  return std::wstring(L"Prerequisite selected for install:") + name;
}

struct CouplingCase {
  const char* what;
  std::vector<Prerequisite> records;
  size_t index;
  bool selected;
  std::vector<bool> flags;          // selected flags afterwards, in list order
  std::vector<std::wstring> lines;  // log lines, in order
};

TEST(SetSelected, ParentAndChildCoupling) {
  const CouplingCase cases[] = {
      {"a child pulls in its parent",
       {Record(L"P", Download), Record(L"C", InstallFromPackage, L"P")}, 1, true,
       {true, true}, {Selected(L"C"), Selected(L"P")}},
      {"a found parent is not pulled in",
       {Record(L"P", Found), Record(L"C", InstallFromPackage, L"P")}, 1, true,
       {false, true}, {Selected(L"C")}},
      {"an excluded parent is not pulled in",
       {Record(L"P", OsNotSupported), Record(L"C", Download, L"P")}, 1, true,
       {false, true}, {Selected(L"C")}},
      {"selecting a parent selects its needy children only",
       {Record(L"P", Download), Record(L"C1", OpenSite, L"P"), Record(L"C2", Found, L"P"),
        Record(L"C3", OsNotSupported, L"P")},
       0, true, {true, true, false, false}, {Selected(L"P"), Selected(L"C1")}},
      {"deselecting a parent cascades to every child not excluded",
       {Record(L"P", Download, L"", true), Record(L"C1", Download, L"P", true),
        Record(L"G", Download, L"C1", true), Record(L"C2", Found, L"P", true),
        Record(L"C3", OsNotSupported, L"P", true)},
       0, false, {false, false, false, false, true},
       {Selected(L"P"), Selected(L"C1"), Selected(L"G"), Selected(L"C2")}},
      {"an unchanged flag logs nothing and propagates nothing",
       {Record(L"P", Download, L"", true), Record(L"C", Download, L"P")}, 0, true,
       {true, false}, {}},
      {"a cycle of parent links ends",
       {Record(L"A", Download, L"B"), Record(L"B", Download, L"A")}, 0, true, {true, true},
       {Selected(L"A"), Selected(L"B")}},
      {"deselecting along a cycle ends",
       {Record(L"A", Download, L"B", true), Record(L"B", Download, L"A", true)}, 0, false,
       {false, false}, {Selected(L"A"), Selected(L"B")}},
      {"a cycle that comes back keeps the flag asked for",
       {Record(L"A", Download, L"B"), Record(L"B", Found, L"A", true)}, 0, true,
       {true, false}, {Selected(L"A"), Selected(L"B"), Selected(L"A")}},
      {"a parent name that names nothing is ignored",
       {Record(L"C", Download, L"Missing")}, 0, true, {true}, {Selected(L"C")}},
      {"parent names are case-sensitive",
       {Record(L"P", Download), Record(L"C", Download, L"p")}, 1, true, {false, true},
       {Selected(L"C")}},
  };
  for (const CouplingCase& c : cases) {
    std::vector<Prerequisite> records = c.records;
    LogCapture log;
    SetSelected(records, c.index, c.selected);
    std::vector<bool> flags;
    for (const Prerequisite& p : records) flags.push_back(p.selected);
    EXPECT_EQ(flags, c.flags) << c.what;
    EXPECT_EQ(log.Messages(), c.lines) << c.what;
  }
}

// A configuration read from INI text, its download folder in a scratch folder.
class EvaluationTest : public ::testing::Test {
 protected:
  ChainerConfig Load(const std::wstring& prerequisites) {
    IniDocument document;
    document.Parse(L"[GeneralOptions]\r\nDownloadFolder=" + downloads.path() + L"\r\n" +
                   prerequisites);
    ChainerConfig config;
    config.Load(document);
    return config;
  }

  testing::ScratchFolder downloads;
};

TEST_F(EvaluationTest, EmptySearchListsGiveTheOperatorsNeutralValue) {
  ChainerConfig config = Load(
      L"[PREREQUISITES]\r\nApp1=All\r\nApp2=Any\r\nApp3=Site\r\nApp4=Package\r\n"
      L"[All]\r\nUrl=http://h/a.exe\r\nOperator=0\r\n"
      L"[Any]\r\nUrl=http://h/b.exe\r\nOperator=1\r\n"
      L"[Site]\r\nOpenSite=http://h/\r\nOperator=1\r\n"
      L"[Package]\r\nSetupFile=c.exe\r\nOperator=1\r\n");
  LogCapture log;
  for (size_t i = 0; i < config.prerequisites.size(); ++i) Evaluate(config, i, false);
  EXPECT_EQ(config.prerequisites[0].state, Found);
  EXPECT_EQ(config.prerequisites[1].state, Download);
  EXPECT_EQ(config.prerequisites[2].state, OpenSite);
  EXPECT_EQ(config.prerequisites[3].state, InstallFromPackage);
  const std::vector<std::wstring> expected = {
      L"Searching for:All", L"Search result:An acceptable version was found.",
      L"Searching for:Any", L"Search result:No acceptable version found. It must be downloaded.",
      L"Searching for:Site",
      L"Search result:No acceptable version found. It must be downloaded manually from a site.",
      L"Searching for:Package",
      L"Search result:No acceptable version found. It must be installed from package."};
  EXPECT_EQ(log.Messages(), expected);
}

TEST_F(EvaluationTest, NoDetectionIsMissingFirstAndInstalledAfterwards) {
  // Operator 0 with no searches would be found: "i" skips the searches.
  ChainerConfig config =
      Load(L"[PREREQUISITES]\r\nApp1=Tool\r\n[Tool]\r\nSetupFile=t.exe\r\nOptions=i\r\n");
  LogCapture first;
  Evaluate(config, 0, false);
  EXPECT_EQ(config.prerequisites[0].state, InstallFromPackage);
  const std::vector<std::wstring> firstLines = {
      L"Searching for:Tool",
      L"Search result:No acceptable version found. It must be installed from package."};
  EXPECT_EQ(first.Messages(), firstLines);

  LogCapture again;
  Evaluate(config, 0, true);
  EXPECT_EQ(config.prerequisites[0].state, Found);
  EXPECT_EQ(again.Messages(), std::vector<std::wstring>{L"Searching for:Tool"});
}

TEST_F(EvaluationTest, ExcludedStateIsFinal) {
  ChainerConfig config = Load(L"[PREREQUISITES]\r\nApp1=X\r\n[X]\r\nUrl=http://h/x.exe\r\n");
  config.prerequisites[0].state = OsNotSupported;
  LogCapture log;
  Evaluate(config, 0, false);
  Evaluate(config, 0, true);
  EXPECT_EQ(config.prerequisites[0].state, OsNotSupported);
  EXPECT_TRUE(log.Messages().empty());
}

TEST_F(EvaluationTest, EvaluateAllNotesPresentDownloadsAndSelectsTheNeedy) {
  testing::WriteBytes(downloads / L"present.exe", std::vector<unsigned char>(4, 'x'));
  ChainerConfig config = Load(
      L"[PREREQUISITES]\r\nApp1=Parent\r\nApp2=Child\r\nApp3=Present\r\nApp4=Local\r\n"
      L"App5=WrongSize\r\n"
      L"[Parent]\r\nUrl=http://h/parent.exe\r\nOperator=0\r\n"
      L"[Child]\r\nSetupFile=child.exe\r\nOperator=1\r\nParentPrereq=Parent\r\n"
      L"[Present]\r\nUrl=http://h/present.exe\r\nOperator=1\r\nExactSize=4\r\n"
      L"[Local]\r\nUrl=file:///C:/pkg/local.exe\r\nOperator=1\r\n"
      L"[WrongSize]\r\nUrl=http://h/present.exe\r\nOperator=1\r\nExactSize=5\r\n");
  LogCapture log;
  EvaluateAll(config);
  const std::vector<Prerequisite>& p = config.prerequisites;
  EXPECT_EQ(p[0].state, Found);
  EXPECT_FALSE(p[0].selected) << "a found parent is not pulled in by its child";
  EXPECT_TRUE(p[1].selected);
  EXPECT_TRUE(p[2].downloaded);
  EXPECT_TRUE(p[3].downloaded);
  EXPECT_FALSE(p[4].downloaded);
  for (size_t i = 1; i < p.size(); ++i) EXPECT_TRUE(p[i].selected) << i;
  const std::vector<std::wstring> lines = log.Messages();
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[10], Selected(L"Child"));
  EXPECT_EQ(lines[13], Selected(L"WrongSize"));
}

TEST_F(EvaluationTest, NeedyParentIsSelectedWithoutItsFoundChild) {
  ChainerConfig config = Load(
      L"[PREREQUISITES]\r\nApp1=Parent\r\nApp2=Child\r\n"
      L"[Parent]\r\nUrl=http://h/parent.exe\r\nOperator=1\r\n"
      L"[Child]\r\nSetupFile=child.exe\r\nParentPrereq=Parent\r\n");
  EvaluateAll(config);
  EXPECT_TRUE(config.prerequisites[0].selected);
  EXPECT_EQ(config.prerequisites[1].state, Found);
  EXPECT_FALSE(config.prerequisites[1].selected);
}

}  // namespace
}  // namespace kestrune
