#include "detect/search_combination.h"

namespace kestrune {

bool CombineSearches(const std::vector<PrereqSearch>& searches, int32_t searchOperator,
                     const SearchVerdict& verdict, std::vector<SearchOutcome>& outcomes) {
  outcomes.clear();
  const bool start = searchOperator == 0;
  bool combined = start;
  for (const PrereqSearch& search : searches) {
    SearchOutcome outcome;
    const bool found = verdict(search, outcome);
    if (searchOperator == 0) {
      combined = combined && found;
    } else if (searchOperator == 1) {
      combined = combined || found;
    }
    outcome.found = found;
    outcomes.push_back(outcome);
    if (combined != start) break;
  }
  return combined;
}

}  // namespace kestrune
