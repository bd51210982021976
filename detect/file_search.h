#pragma once
// The file-version search: finds a file on disk and collects the versions of what it finds.

#include "detect/search_types.h"

namespace kestrune {

// Walks the candidates of `search` (see FileSearchCandidates), appending the normalised version
// of every file found to `outcome.values` (a file without version resource reads as 0.0.0.0),
// and stops at the first whose version lies in the search's range. With `use64BitView` the walk
// runs with file-system redirection off.
void CollectFileVersions(const PrereqSearch& search, bool use64BitView, SearchOutcome& outcome);

}  // namespace kestrune
