#pragma once
// The operations engine: carries out what the evaluation decided for the selected prerequisites,
// in passes run in a fixed order (download, open site, install), and owns what the passes share:
// the action of each prerequisite, where a download is stored, and the downloaded files, which
// are deleted when the engine is destroyed unless KeepFiles keeps them.
//
// One engine per run, built and destroyed by the run sequence. The passes run on one thread: the
// main thread in silent mode, the progress dialog's worker in basic-UI mode. The observer is
// called from that thread.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/chainer_config.h"
#include "launch/interboot_store.h"
#include "package/package_file_resolver.h"
#include "transfer/operation_observer.h"

namespace kestrune {

// Codes the passes report to the observer with ReportError.
const uint32_t OPS_E_DOWNLOAD_REJECTED = 0xE0000022;  // text: the file name
const uint32_t OPS_E_MANDATORY_FAILED = 0xE0000024;   // text: the prerequisite's name
const uint32_t OPS_E_REBOOT_REQUIRED = 0xE0000025;

// Results of a pass.
const int kPassDone = 0;           // ran to its end, or was canceled
const int kPassUserExit = 1602;    // ERROR_INSTALL_USEREXIT (install pass only)
const int kPassFailed = 1603;      // ERROR_INSTALL_FAILURE

// One prerequisite to download, in configuration order.
struct DownloadItem {
  std::wstring url;
  uint32_t exactSize = 0;  // 0: no size check
  int32_t status = 4;      // 4 while queued, 0 after a successful transfer
  size_t prerequisite = 0;
  std::wstring folder;     // the Folder value: subfolder, optionally "?" and a file name
};

struct DownloadQueue {
  std::wstring root;  // the download folder, ending in a backslash
  std::vector<DownloadItem> items;
  OperationObserver* observer = nullptr;  // handed to each transfer; null in silent mode
  uint32_t lastError = 0;                 // result of the latest transfer
};

class OperationsEngine {
 public:
  // `config`, `packageFiles` and `interbootStore` must outlive the engine; the engine changes
  // the prerequisites' `downloaded` flags. `downloadFolder` is the resolved download folder (a
  // trailing backslash is added when missing).
  OperationsEngine(ChainerConfig& config, const PackageFileResolver& packageFiles,
                   const std::wstring& downloadFolder, InterbootStore& interbootStore);
  // Deletes the files the download pass recorded, with their folders up to the download folder
  // as they become empty.
  virtual ~OperationsEngine();

  OperationsEngine(const OperationsEngine&) = delete;
  OperationsEngine& operator=(const OperationsEngine&) = delete;

  // Downloads every prerequisite whose action is Download, checks each file against ExactSize
  // and MD5 and marks the accepted ones downloaded. `observer` may be null (silent mode).
  // kPassDone when the pass ran to its end or was canceled between two downloads; kPassFailed
  // when a mandatory download failed or any downloaded file was rejected.
  int DownloadPass(OperationObserver* observer);

  // The action the passes apply to prerequisite `index` (a PrereqAction value, never Undefined
  // for an evaluated prerequisite): NotSelected unless selected; a Download state that is
  // downloaded is AlreadyDownloaded; any other non-zero state is itself; a found but selected
  // prerequisite acts by its location kind (a download already present is AlreadyDownloaded).
  // An index outside the list is a fatal internal error.
  int GetAction(size_t index) const;

  // The full path where the download of `url` is stored below the download folder: `folder` is
  // a subfolder, optionally followed by "?" and an explicit file name.
  std::wstring DownloadTarget(const std::wstring& url, const std::wstring& folder) const;

  const DownloadQueue& downloads() const { return downloads_; }
  const std::vector<std::wstring>& downloadedFiles() const { return downloadedFiles_; }

 private:
  // One queued download; kPassDone to go on with the next item, kPassFailed to end the pass.
  int DownloadItemAt(size_t itemIndex, const std::wstring& stepText);
  int RejectDownload(const std::wstring& target);
  bool KeepsDownloads() const;

  ChainerConfig* config_;
  const PackageFileResolver* packageFiles_;  // where the install pass finds package setups
  DownloadQueue downloads_;
  std::vector<std::wstring> downloadedFiles_;  // deleted when the engine is destroyed
  // The setup launcher of the install pass keeps the setups' exit codes here.
  InterbootStore* interbootStore_;
  OperationObserver* uiObserver_ = nullptr;  // the download pass's observer; null when silent
};

}  // namespace kestrune
