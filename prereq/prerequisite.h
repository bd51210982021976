#pragma once
// The prerequisite record: what the configuration says about one prerequisite and what the
// evaluation decided about it. Plain data, filled by the configuration loader (config/) and
// decided by the evaluation; no system calls.

#include <cstdint>
#include <string>
#include <vector>

#include "detect/search_types.h"

namespace kestrune {

// The decided state of a prerequisite, and the action the passes derive from it.
enum PrereqAction : int32_t {
  Found = 0,               // an acceptable version is installed
  InstallFromPackage = 1,  // missing; its setup is in the package
  Download = 2,            // missing; its setup must be downloaded
  OpenSite = 3,            // missing; the user must get it from a web page
  OsNotSupported = 4,      // excluded by operating system or language; final
  AlreadyDownloaded = 5,   // derived only: a download that is already present
  NoAcceptableVersion = 6,
  NotSelected = 7,         // derived only: not selected for installation
  Undefined = 8,           // not evaluated yet
};

// Where a prerequisite's setup comes from.
enum LocationKind : int32_t {
  kLocationPackage = 0,  // SetupFile
  kLocationDownload = 1, // Url
  kLocationSite = 2,     // OpenSite
};

struct Prerequisite {
  std::wstring name;
  std::wstring verMin;
  std::wstring verMax;
  std::wstring location;
  int32_t locationKind = kLocationPackage;
  std::wstring commandLine;
  std::wstring basicUiCommandLine;
  std::wstring noUiCommandLine;
  std::wstring options;
  std::wstring md5;
  int32_t exactSize = 0;        // 0: no size check
  std::wstring folder;
  std::wstring retValPropName;
  std::wstring parentPrereq;
  int32_t searchOperator = 0;   // 0: every search must succeed; 1: one suffices
  std::vector<PrereqSearch> searches;
  std::wstring winNtVersions;
  std::wstring winNt64Versions;
  std::wstring languageList;
  std::vector<SearchOutcome> searchOutcomes;  // of the last evaluation that ran the searches
  int32_t state = Undefined;
  bool downloaded = false;
  bool selected = false;
  bool noDetection = false;
};

// True for the states that need action: InstallFromPackage, Download and OpenSite.
inline bool NeedsAction(int32_t state) {
  return state == InstallFromPackage || state == Download || state == OpenSite;
}

}  // namespace kestrune
