#include "detect/references.h"

namespace kestrune {

std::wstring ExpandReferences(const std::wstring& text, bool /*use64BitView*/) {
  // Reference resolution is not built yet: texts pass through unchanged.
  return text;
}

}  // namespace kestrune
