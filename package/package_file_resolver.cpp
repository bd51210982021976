#include "package/package_file_resolver.h"

namespace kestrune {

std::wstring PackageFileResolver::ResolvePackagePath(const std::wstring& location) const {
  const bool absolute =
      location.size() >= 2 && ((location[0] == L'\\' && location[1] == L'\\') || location[1] == L':');
  return absolute ? location : extractionFolder_ + location;
}

}  // namespace kestrune
