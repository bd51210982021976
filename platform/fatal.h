#pragma once
// Internal invariant violations (an index outside a list) end the run at once: no configuration
// value is meant to reach them, and going on would act on the wrong record.

#include <cstddef>
#include <vector>

namespace kestrune {

[[noreturn]] void FatalInternalError(const char* what);

// The element at `index`, or a fatal internal error when the index is outside the list.
template <typename T>
T& ElementAt(std::vector<T>& list, size_t index) {
  if (index >= list.size()) FatalInternalError("index outside the list");
  return list[index];
}

}  // namespace kestrune
