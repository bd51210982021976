#pragma once
// Where a setup that the package laid down is found. No system calls.

#include <string>

namespace kestrune {

class PackageFileResolver {
 public:
  // `folder` is the resolved extraction folder: never empty, ending in a backslash.
  void SetExtractionFolder(const std::wstring& folder) { extractionFolder_ = folder; }
  const std::wstring& extractionFolder() const { return extractionFolder_; }

  // The path of the setup named by a SetupFile location: drive, UNC and long-path forms as
  // written, anything else below the extraction folder. The file's existence is not checked.
  std::wstring ResolvePackagePath(const std::wstring& location) const;

 private:
  std::wstring extractionFolder_;
};

}  // namespace kestrune
