#pragma once
// How the verdicts of a prerequisite's searches combine into one. No system calls.

#include <cstdint>
#include <functional>
#include <vector>

#include "detect/search_types.h"

namespace kestrune {

// Runs one search, fills `outcome` and returns its verdict.
using SearchVerdict = std::function<bool(const PrereqSearch& search, SearchOutcome& outcome)>;

// Combines the searches in order under `searchOperator`: 0 needs every verdict true, 1 needs one;
// any other operator finds nothing. An empty list gives the operator's neutral value (found under
// 0). Stops at the first verdict that decides the result. `outcomes` is cleared first and gets one
// record per search run, with `found` set to its verdict.
bool CombineSearches(const std::vector<PrereqSearch>& searches, int32_t searchOperator,
                     const SearchVerdict& verdict, std::vector<SearchOutcome>& outcomes);

}  // namespace kestrune
