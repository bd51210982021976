#pragma once
// The grammar of references in configured texts, apart from what they resolve to. No system
// calls: this file also builds for the host.
//
//   [Name]          a folder property; left as written when it cannot be resolved
//   %NAME%          an environment variable; nothing when it is not set
//   !ROOT\key\name! a registry value; nothing when it cannot be read

#include <string>

namespace kestrune {

// What references resolve to. Each call returns false when the reference cannot be resolved.
class ReferenceResolver {
 public:
  virtual ~ReferenceResolver() = default;
  virtual bool FolderProperty(const std::wstring& name, std::wstring& path) const = 0;
  virtual bool EnvironmentVariable(const std::wstring& name, std::wstring& value) const = 0;
  virtual bool RegistryValue(const std::wstring& path, std::wstring& value) const = 0;
};

// `text` with every reference replaced, scanning left to right. Replaced text is not scanned
// again, and an opening character without its closing one is copied with the rest of the text.
std::wstring ExpandReferenceText(const std::wstring& text, const ReferenceResolver& resolver);

}  // namespace kestrune
