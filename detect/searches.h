#pragma once
// Installed-software searches: whether an acceptable version of a prerequisite is installed.

#include <cstdint>
#include <vector>

#include "detect/search_types.h"

namespace kestrune {

// Runs the searches of one prerequisite in order and combines their verdicts under
// `searchOperator` (0: all must succeed, 1: one suffices). `use64BitView` selects the 64-bit
// registry view and switches file-system redirection off. `outcomes` is cleared, then receives
// one record per search run. True when an acceptable version is installed.
bool EvaluateSearches(const std::vector<PrereqSearch>& searches, int32_t searchOperator,
                      bool use64BitView, const PayloadProvider& payloadProvider,
                      std::vector<SearchOutcome>& outcomes);

}  // namespace kestrune
