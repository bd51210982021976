#include "platform/fatal.h"

#include <cstdio>
#include <cstdlib>

namespace kestrune {

void FatalInternalError(const char* what) {
  std::fprintf(stderr, "kestrune: fatal internal error: %s\n", what);
  std::abort();
}

}  // namespace kestrune
