#include "detect/searches.h"

#include "detect/search_combination.h"

namespace kestrune {
namespace {

const int32_t kLastKnownSearchType = 12;

// The verdict of one search. Codes outside the known types count as found without doing
// anything. The known types are not built yet and find nothing.
bool RunSearchVerdict(const PrereqSearch& search, SearchOutcome& /*outcome*/) {
  return search.searchType < 0 || search.searchType > kLastKnownSearchType;
}

}  // namespace

bool EvaluateSearches(const std::vector<PrereqSearch>& searches, int32_t searchOperator,
                      bool /*use64BitView*/, const PayloadProvider& /*payloadProvider*/,
                      std::vector<SearchOutcome>& outcomes) {
  return CombineSearches(searches, searchOperator, RunSearchVerdict, outcomes);
}

}  // namespace kestrune
