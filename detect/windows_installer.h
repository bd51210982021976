#pragma once
// What the Windows Installer knows about installed products and components. The installer's
// library is loaded from the system folder on first use; without it every question finds nothing.
// Called on the thread that evaluates the prerequisites.

#include <string>
#include <vector>

namespace kestrune {

// Appends the "VersionString" of the product `productCode` to `versions` when it is installed.
void CollectProductVersion(const std::wstring& productCode, std::vector<std::wstring>& versions);

// Appends the "VersionString" of every product related to `upgradeCode`.
void CollectRelatedProductVersions(const std::wstring& upgradeCode,
                                   std::vector<std::wstring>& versions);

// True when the component is installed locally or runs from source.
bool IsComponentInstalled(const std::wstring& componentCode);

}  // namespace kestrune
