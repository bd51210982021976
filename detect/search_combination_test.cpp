#include "detect/search_combination.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

struct CombinationCase {
  int32_t searchOperator;
  std::vector<bool> verdicts;  // one per configured search
  bool result;
  size_t searchesRun;
};

TEST(CombineSearches, OperatorTable) {
  const CombinationCase cases[] = {
      {0, {}, true, 0},
      {1, {}, false, 0},
      {2, {}, false, 0},
      {0, {true, true, true}, true, 3},
      {0, {true, false, true}, false, 2},   // stops at the first miss
      {0, {false, true}, false, 1},
      {1, {false, false}, false, 2},
      {1, {false, true, false}, true, 2},   // stops at the first hit
      {1, {true, true}, true, 1},
      {2, {true, true}, false, 2},          // unknown operator never finds
      {-1, {true}, false, 1},
  };
  for (const CombinationCase& c : cases) {
    std::vector<PrereqSearch> searches(c.verdicts.size());
    for (size_t i = 0; i < searches.size(); ++i) searches[i].searchType = static_cast<int32_t>(i);
    std::vector<SearchOutcome> outcomes(5);  // stale records must go
    const auto verdict = [&c](const PrereqSearch& search, SearchOutcome& outcome) {
      outcome.values.push_back(L"seen");
      return static_cast<bool>(c.verdicts[static_cast<size_t>(search.searchType)]);
    };
    EXPECT_EQ(CombineSearches(searches, c.searchOperator, verdict, outcomes), c.result)
        << "operator " << c.searchOperator << ", " << c.verdicts.size() << " searches";
    ASSERT_EQ(outcomes.size(), c.searchesRun);
    for (size_t i = 0; i < outcomes.size(); ++i) {
      EXPECT_EQ(outcomes[i].found, c.verdicts[i]);
      EXPECT_EQ(outcomes[i].values.size(), 1u);
    }
  }
}

}  // namespace
}  // namespace kestrune
