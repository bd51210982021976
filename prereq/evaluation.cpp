#include "prereq/evaluation.h"

#include "detect/os_filters.h"
#include "detect/searches.h"
#include "log/logger.h"
#include "platform/fatal.h"
#include "platform/text.h"
#include "prereq/download_presence.h"

namespace kestrune {
namespace {

int32_t MissingState(int32_t locationKind) {
  if (locationKind == kLocationDownload) return Download;
  if (locationKind == kLocationSite) return OpenSite;
  return InstallFromPackage;
}

void SelectChildren(std::vector<Prerequisite>& prerequisites, size_t parent, bool selected) {
  const std::wstring& parentName = prerequisites[parent].name;
  for (size_t i = 0; i < prerequisites.size(); ++i) {
    const Prerequisite& child = prerequisites[i];
    if (i == parent || child.state == OsNotSupported || child.parentPrereq != parentName) {
      continue;
    }
    SetSelected(prerequisites, i, selected && NeedsAction(child.state));
  }
}

void SelectParent(std::vector<Prerequisite>& prerequisites, const std::wstring& parentName) {
  for (size_t i = 0; i < prerequisites.size(); ++i) {
    if (prerequisites[i].name != parentName) continue;
    const int32_t state = prerequisites[i].state;
    if (state != Found && state != OsNotSupported) SetSelected(prerequisites, i, true);
    return;
  }
}

}  // namespace

const wchar_t* SearchResultText(int32_t state) {
  switch (state) {
    case Found: return L"An acceptable version was found.";
    case InstallFromPackage: return L"No acceptable version found. It must be installed from package.";
    case Download: return L"No acceptable version found. It must be downloaded.";
    case OpenSite: return L"No acceptable version found. It must be downloaded manually from a site.";
    default: return L"";
  }
}

void Evaluate(ChainerConfig& config, size_t index, bool afterInstall) {
  Prerequisite& p = ElementAt(config.prerequisites, index);
  if (p.state == OsNotSupported) return;
  if (!IsOsAllowed(p.winNtVersions, p.winNt64Versions) || !IsLanguageAllowed(p.languageList)) {
    LogLine(L"Wrong OS or Os language for:" + p.name);
    p.state = OsNotSupported;
    return;
  }
  const bool use64BitView = HasLetter(p.options, L'x');
  LogLine(L"Searching for:" + p.name);
  if (afterInstall && p.noDetection) {
    p.state = Found;
    return;
  }
  const bool found = !p.noDetection && EvaluateSearches(p.searches, p.searchOperator, use64BitView,
                                                        config, p.searchOutcomes);
  p.state = found ? Found : MissingState(p.locationKind);
  LogLine(std::wstring(L"Search result:") + SearchResultText(p.state));
}

void EvaluateAll(ChainerConfig& config) {
  std::vector<Prerequisite>& prerequisites = config.prerequisites;
  for (size_t i = 0; i < prerequisites.size(); ++i) Evaluate(config, i, false);
  for (size_t i = 0; i < prerequisites.size(); ++i) {
    Prerequisite& p = prerequisites[i];
    if (p.state == Download) {
      p.downloaded =
          IsAlreadyPresent(config.ResolveDownloadFolder(), p.location, p.exactSize, p.folder);
    }
    SetSelected(prerequisites, i, NeedsAction(p.state));
  }
}

void SetSelected(std::vector<Prerequisite>& prerequisites, size_t index, bool selected) {
  Prerequisite& p = ElementAt(prerequisites, index);
  if (p.selected == selected) return;
  p.selected = selected;
  LogLine(L"Prerequisite selected for install:" + p.name);
  SelectChildren(prerequisites, index, selected);
  if (selected && !p.parentPrereq.empty()) SelectParent(prerequisites, p.parentPrereq);
  // A cycle of parent links may have come back to this record and changed it.
  prerequisites[index].selected = selected;
}

}  // namespace kestrune
