// The first pass of the engine: every prerequisite whose action is Download is brought into the
// download folder, one transfer after the other, and checked before it counts as downloaded.
#include "engine/download_check.h"
#include "engine/operations_engine.h"
#include "log/logger.h"
#include "platform/files.h"
#include "platform/path_text.h"
#include "platform/text.h"
#include "transfer/transfer_session.h"

namespace kestrune {

int OperationsEngine::DownloadPass(OperationObserver* observer) {
  downloads_.items.clear();
  downloads_.observer = observer;
  downloadedFiles_.clear();
  uiObserver_ = observer;

  std::vector<Prerequisite>& prerequisites = config_->prerequisites;
  for (size_t i = 0; i < prerequisites.size(); ++i) {
    if (GetAction(i) != Download) continue;
    DownloadItem item;
    item.url = prerequisites[i].location;
    item.exactSize = static_cast<uint32_t>(prerequisites[i].exactSize);
    item.prerequisite = i;
    item.folder = prerequisites[i].folder;
    downloads_.items.push_back(item);
  }

  std::wstring stepText;
  if (observer) {
    stepText = config_->StatusText(1);
    observer->SetStepCount(static_cast<int>(downloads_.items.size()), 0);
  }
  for (size_t i = 0; i < downloads_.items.size(); ++i) {
    // Cancel is looked at only between downloads; inside one the transfer notices it itself.
    if (observer && observer->IsCanceled()) {
      LogLine(L"Download was canceled.");
      return kPassDone;
    }
    if (DownloadItemAt(i, stepText) != kPassDone) return kPassFailed;
  }
  return kPassDone;
}

int OperationsEngine::DownloadItemAt(size_t itemIndex, const std::wstring& stepText) {
  DownloadItem& item = downloads_.items[itemIndex];
  Prerequisite& prerequisite = config_->prerequisites[item.prerequisite];
  OperationObserver* observer = downloads_.observer;
  if (observer) {
    observer->Step(FormatWithText(stepText, prerequisite.name).c_str(), kStepProgress, 0);
  }
  LogLine(L"Starting download of:" + prerequisite.name);

  {
    TransferSession session(observer);
    if (item.exactSize != 0) session.SetExpectedSize(item.exactSize);
    downloads_.lastError = session.Download(item.url, DownloadTarget(item.url, item.folder));
  }
  if (downloads_.lastError == 0) item.status = 0;

  if (item.status != 0) {
    LogLine(L"Download failed. Error:" + SystemErrorText(downloads_.lastError));
    if (!HasLetter(prerequisite.options, L'm')) return kPassDone;
    if (observer) observer->ReportError(prerequisite.name.c_str(), OPS_E_MANDATORY_FAILED, 0);
    return kPassFailed;
  }

  LogLine(L"Download completed succesfully.");
  const std::wstring target = DownloadTarget(item.url, item.folder);
  if (!KeepsDownloads()) downloadedFiles_.push_back(target);
  if (!IsDownloadAccepted(target, item.exactSize, prerequisite.md5)) return RejectDownload(target);
  LogLine(L"Downloaded file was accepted.");
  prerequisite.downloaded = true;
  return kPassDone;
}

// A rejected file ends the pass whether the prerequisite is mandatory or not: it is not the file
// the package was built with.
int OperationsEngine::RejectDownload(const std::wstring& target) {
  DeleteFileLong(target);
  RemoveEmptyFolders(FolderOfPath(target), downloads_.root);
  LogLine(L"Downloaded file was rejected.(Invalid size or MD5).");
  if (downloads_.observer) {
    downloads_.observer->ReportError(FileNameOfPath(target).c_str(), OPS_E_DOWNLOAD_REJECTED, 0);
  }
  return kPassFailed;
}

}  // namespace kestrune
