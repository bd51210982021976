// The installer searches as the evaluation runs them, with version bounds, against the probe
// products that the probe_products fixture installs before these tests.
#include "detect/searches.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/probe_products.h"

namespace kestrune {
namespace {

using testing::kCurrentProbe;
using testing::kOlderProbe;
using testing::kProbeUpgradeCode;
using Texts = std::vector<std::wstring>;

const wchar_t kUnknownCode[] = L"{5D0C2B7E-3F41-4A96-B8E2-7C19D4A6F053}";
const int32_t kProductVersion = 3;
const int32_t kUpgradeCode = 4;
const int32_t kComponentInstalled = 11;

class NoPayload : public PayloadProvider {
 public:
  std::wstring PayloadPath(const PrereqSearch&) const override { return std::wstring(); }
};

PrereqSearch Search(int32_t type, const std::wstring& text, const std::wstring& verMin = L"",
                    const std::wstring& verMax = L"") {
  PrereqSearch search;
  search.searchType = type;
  search.searchString = text;
  search.verMin = verMin;
  search.verMax = verMax;
  return search;
}

TEST(InstallerSearches, VersionBoundsDecideOverWhatTheInstallerReports) {
  const Texts current = {kCurrentProbe.version};
  const Texts both = {kOlderProbe.version, kCurrentProbe.version};  // 1.7.0, 2.5.1
  const struct {
    const wchar_t* what;
    PrereqSearch search;
    bool found;
    Texts values;  // sorted
  } cases[] = {
      {L"product, no bounds", Search(kProductVersion, kCurrentProbe.productCode), true, current},
      {L"product, below lower bound 2.0",
       Search(kProductVersion, kCurrentProbe.productCode, L"2.0"), true, current},
      {L"product, lower bound 3.0", Search(kProductVersion, kCurrentProbe.productCode, L"3.0"),
       false, current},
      {L"product, upper bound equal",
       Search(kProductVersion, kCurrentProbe.productCode, L"", L"2.5.1"), true, current},
      {L"product, upper bound 2.5", Search(kProductVersion, kCurrentProbe.productCode, L"", L"2.5"),
       false, current},
      {L"product, both bounds equal",
       Search(kProductVersion, kCurrentProbe.productCode, L"2.5.1", L"2.5.1"), true, current},
      {L"product not installed", Search(kProductVersion, kUnknownCode), false, {}},
      {L"upgrade code, no bounds", Search(kUpgradeCode, kProbeUpgradeCode), true, both},
      {L"upgrade code, newer release in range", Search(kUpgradeCode, kProbeUpgradeCode, L"2.0"),
       true, both},
      {L"upgrade code, older release in range",
       Search(kUpgradeCode, kProbeUpgradeCode, L"", L"2.0"), true, both},
      {L"upgrade code, no release between",
       Search(kUpgradeCode, kProbeUpgradeCode, L"1.8", L"2.5"), false, both},
      {L"upgrade code, all too old", Search(kUpgradeCode, kProbeUpgradeCode, L"3.0"), false, both},
      {L"upgrade code unknown", Search(kUpgradeCode, kUnknownCode), false, {}},
      {L"component", Search(kComponentInstalled, kCurrentProbe.componentCode), true, {}},
      {L"component, bounds do not apply",
       Search(kComponentInstalled, kCurrentProbe.componentCode, L"9.0", L"9.1"), true, {}},
      {L"component unknown", Search(kComponentInstalled, kUnknownCode), false, {}},
  };
  for (const auto& c : cases) {
    std::vector<SearchOutcome> outcomes;
    EXPECT_EQ(EvaluateSearches({c.search}, 0, false, NoPayload(), outcomes), c.found) << c.what;
    ASSERT_EQ(outcomes.size(), 1u) << c.what;
    EXPECT_EQ(outcomes[0].found, c.found) << c.what;
    Texts values = outcomes[0].values;
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, c.values) << c.what;
  }
}

// The installer answers alike in both registry views: the view asked for must not matter.
TEST(InstallerSearches, AllInstallerTypesTogetherInEitherView) {
  const std::vector<PrereqSearch> searches = {
      Search(kProductVersion, kOlderProbe.productCode, L"1.7", L"1.7.0"),
      Search(kUpgradeCode, kProbeUpgradeCode, L"2.5.1"),
      Search(kComponentInstalled, kOlderProbe.componentCode)};
  for (const bool use64BitView : {false, true}) {
    std::vector<SearchOutcome> outcomes;
    EXPECT_TRUE(EvaluateSearches(searches, 0, use64BitView, NoPayload(), outcomes));
    EXPECT_EQ(outcomes.size(), 3u);
  }
}

}  // namespace
}  // namespace kestrune
