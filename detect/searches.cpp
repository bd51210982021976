#include "detect/searches.h"

#include <windows.h>

#include "detect/file_search.h"
#include "detect/search_combination.h"
#include "detect/search_compare.h"
#include "detect/version_number.h"
#include "detect/windows_installer.h"
#include "platform/registry.h"
#include "platform/unique_handle.h"

namespace kestrune {
namespace {

enum SearchType : int32_t {
  kFileVersion = 0,
  kRegistrySubkeys = 1,
  kRegistryValueVersion = 2,
  kMsiProductVersion = 3,
  kMsiUpgradeCode = 4,
  kRegistryKeyExists = 5,
  kRegistryKeyAbsent = 6,
  kRegistryValueExists = 7,
  kRegistryValueAbsent = 8,
  kRegistryValueCompare = 9,
  kRunPayloadProgram = 10,
  kMsiComponentInstalled = 11,
  kRegistryValueNames = 12,
};

bool IsCollecting(int32_t type) {
  return (type >= kFileVersion && type <= kMsiUpgradeCode) || type == kRegistryValueNames;
}

// "ROOT\key\value" split at its last backslash; false when there is none.
bool SplitValuePath(const std::wstring& path, std::wstring& keyPath, std::wstring& valueName) {
  const size_t last = path.rfind(L'\\');
  if (last == std::wstring::npos) return false;
  keyPath = path.substr(0, last);
  valueName = path.substr(last + 1);
  return true;
}

bool ValueExists(const std::wstring& path, bool use64BitView) {
  std::wstring keyPath;
  std::wstring valueName;
  if (!SplitValuePath(path, keyPath, valueName)) return false;
  const RegistryKey key = OpenRegistryPath(keyPath, use64BitView);
  return key && ::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr, nullptr,
                                   nullptr) == ERROR_SUCCESS;
}

void CollectSubkeys(const std::wstring& path, bool use64BitView, SearchOutcome& outcome) {
  const RegistryKey key = OpenRegistryPath(path, use64BitView);
  if (!key) return;
  for (DWORD index = 0;; ++index) {
    wchar_t name[260];
    DWORD length = 260;
    if (::RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return;
    }
    outcome.values.push_back(std::wstring(name, length));
  }
}

// The value's data as UTF-16 text up to its first NUL, whatever its type.
void CollectValueText(const std::wstring& path, bool use64BitView, SearchOutcome& outcome) {
  std::wstring keyPath;
  std::wstring valueName;
  SplitValuePath(path, keyPath, valueName);
  const RegistryKey key = OpenRegistryPath(keyPath, use64BitView);
  if (!key) return;
  DWORD size = 0;
  if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return;
  }
  std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    return;
  }
  outcome.values.push_back(std::wstring(data.data()));
}

// Unlike the other registry searches, the 64-bit view is asked for on any system.
void CollectValueNames(const std::wstring& path, bool use64BitView, SearchOutcome& outcome) {
  const HKEY root = ParseRegistryRoot(path);
  if (root == nullptr) return;
  const std::wstring subkey = path.substr(path.find(L'\\') + 1);
  RegistryKey key;
  const REGSAM access = KEY_READ | (use64BitView ? KEY_WOW64_64KEY : 0);
  if (::RegOpenKeyExW(root, subkey.c_str(), 0, access, key.Receive()) != ERROR_SUCCESS) return;
  EnumerateValueNames(key.get(), outcome.values);
}

bool ReadComparedValue(const std::wstring& path, bool use64BitView, SearchOutcome& outcome) {
  std::wstring keyPath;
  std::wstring valueName;
  if (!SplitValuePath(path, keyPath, valueName)) return false;
  const RegistryKey key = OpenRegistryPath(keyPath, use64BitView);
  return key && ReadRegistryValueText(key.get(), valueName, outcome.valueText);
}

// Runs one search of any type but the payload program and fills `outcome`.
void RunSearch(const PrereqSearch& search, bool use64BitView, SearchOutcome& outcome) {
  const std::wstring& text = search.searchString;
  switch (search.searchType) {
    case kFileVersion: CollectFileVersions(search, use64BitView, outcome); break;
    case kRegistrySubkeys: CollectSubkeys(text, use64BitView, outcome); break;
    case kRegistryValueVersion: CollectValueText(text, use64BitView, outcome); break;
    case kMsiProductVersion: CollectProductVersion(text, outcome.values); break;
    case kMsiUpgradeCode: CollectRelatedProductVersions(text, outcome.values); break;
    case kRegistryKeyExists: outcome.found = OpenRegistryPath(text, use64BitView).valid(); break;
    case kRegistryKeyAbsent: outcome.found = !OpenRegistryPath(text, use64BitView).valid(); break;
    case kRegistryValueExists: outcome.found = ValueExists(text, use64BitView); break;
    case kRegistryValueAbsent: outcome.found = !ValueExists(text, use64BitView); break;
    case kRegistryValueCompare: outcome.found = ReadComparedValue(text, use64BitView, outcome); break;
    case kMsiComponentInstalled: outcome.found = IsComponentInstalled(text); break;
    case kRegistryValueNames: CollectValueNames(text, use64BitView, outcome); break;
    default: break;
  }
}

bool Verdict(const PrereqSearch& search, bool use64BitView, SearchOutcome& outcome) {
  const int32_t type = search.searchType;
  if (type == kRunPayloadProgram) {
    // The package carries no programs of its own, so the payload path is always empty: with
    // nothing to start, the search finds nothing and nothing is launched.
    outcome.found = false;
    return false;
  }
  RunSearch(search, use64BitView, outcome);
  if (IsCollecting(type)) return VersionListMatches(outcome.values, search.verMin, search.verMax);
  if (type == kRegistryValueCompare) {
    const std::wstring& ref = search.refContent;
    return outcome.found && !ref.empty() && CompareByOperator(ref.substr(1), outcome.valueText, ref[0]);
  }
  if (type >= kRegistryKeyExists && type <= kMsiComponentInstalled) return outcome.found;
  return true;  // codes beyond the known types are found without any work
}

}  // namespace

bool EvaluateSearches(const std::vector<PrereqSearch>& searches, int32_t searchOperator,
                      bool use64BitView, const PayloadProvider& /*payloadProvider*/,
                      std::vector<SearchOutcome>& outcomes) {
  const auto verdict = [use64BitView](const PrereqSearch& search, SearchOutcome& outcome) {
    return Verdict(search, use64BitView, outcome);
  };
  return CombineSearches(searches, searchOperator, verdict, outcomes);
}

}  // namespace kestrune
