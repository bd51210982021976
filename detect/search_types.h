#pragma once
// The records of installed-software searches: what the configuration asks for, and what one
// search found. Plain data, no system calls.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrune {

// One numbered search of a prerequisite, as configured.
struct PrereqSearch {
  int32_t searchType = 0;
  std::wstring searchString;
  std::wstring verMin;
  std::wstring verMax;
  std::wstring refContent;
  std::wstring searchCmdLine;
};

// What one evaluated search found.
struct SearchOutcome {
  std::vector<std::wstring> values;  // versions, subkey names, value texts or value names
  std::wstring valueText;            // a compared registry value, read as text
  bool found = false;                // the search's own verdict
};

// Answers where the package file a search runs is found (searches that run a program).
class PayloadProvider {
 public:
  virtual ~PayloadProvider() = default;
  virtual std::wstring PayloadPath(const PrereqSearch& search) const = 0;
};

}  // namespace kestrune
