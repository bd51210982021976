#include "engine/operations_engine.h"

#include "platform/download_names.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/path_text.h"
#include "prereq/download_presence.h"

namespace kestrune {

OperationsEngine::OperationsEngine(ChainerConfig& config, const PackageFileResolver& packageFiles,
                                   const std::wstring& downloadFolder,
                                   InterbootStore& interbootStore)
    : config_(&config), packageFiles_(&packageFiles), interbootStore_(&interbootStore) {
  downloads_.root = WithTrailingBackslash(downloadFolder);
}

OperationsEngine::~OperationsEngine() {
  for (const std::wstring& path : downloadedFiles_) {
    DeleteFileLong(path);
    RemoveEmptyFolders(FolderOfPath(path), downloads_.root);
  }
}

int OperationsEngine::GetAction(size_t index) const {
  const Prerequisite& p = ElementAt(config_->prerequisites, index);
  if (!p.selected) return NotSelected;
  if (p.state != Found) {
    return p.state == Download && p.downloaded ? AlreadyDownloaded : p.state;
  }
  switch (p.locationKind) {
    case kLocationDownload:
      return IsAlreadyPresent(downloads_.root, p.location, p.exactSize, p.folder)
                 ? AlreadyDownloaded
                 : Download;
    case kLocationSite:
      return OpenSite;
    default:
      return InstallFromPackage;
  }
}

std::wstring OperationsEngine::DownloadTarget(const std::wstring& url,
                                              const std::wstring& folder) const {
  return DownloadTargetPath(downloads_.root, url, folder);
}

// KeepFiles "complete" and "prereqs" leave the downloaded setups in the download folder.
bool OperationsEngine::KeepsDownloads() const {
  const int32_t mode = config_->general.keepFiles;
  return mode == kKeepComplete || mode == kKeepPrereqs;
}

}  // namespace kestrune
