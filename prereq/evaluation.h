#pragma once
// Evaluation of the prerequisites (is each one meant for this system, and is an acceptable
// version installed?) and their selection for installation along the parent links.
//
// Called by one thread at a time: the evaluation worker during the first evaluation, the thread
// of the passes afterwards. Nothing else touches the records meanwhile, so no lock is taken.
// An index outside the list is a fatal internal error.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/chainer_config.h"
#include "prereq/prerequisite.h"

namespace kestrune {

// The text of the "Search result:" line for a decided state; empty for other states.
const wchar_t* SearchResultText(int32_t state);

// Decides the state of one prerequisite. `afterInstall` is false in the first evaluation and
// true in the re-evaluations after the passes have begun. OsNotSupported is final.
void Evaluate(ChainerConfig& config, size_t index, bool afterInstall);

// Evaluates every prerequisite, notes which downloads are already present, and selects those
// that need action.
void EvaluateAll(ChainerConfig& config);

// Sets the selection of one prerequisite: its children follow it (unless excluded by the
// system), and selecting it also selects its parent (unless the parent is found or excluded).
// Each change of a flag is logged; cycles of parent links end.
void SetSelected(std::vector<Prerequisite>& prerequisites, size_t index, bool selected);

}  // namespace kestrune
