// File locations: a local or network-share path, reached (with the location's credentials when it
// has some) and copied through the part file by the file system.

#include <windows.h>
#include <winnetwk.h>

#include "platform/files.h"
#include "platform/path_text.h"
#include "transfer/copy_progress.h"
#include "transfer/transfer_rules.h"
#include "transfer/transfer_session.h"

namespace kestrune {

DWORD CALLBACK CopyProgress(LARGE_INTEGER totalFileSize, LARGE_INTEGER totalBytesTransferred,
                            LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD reason, HANDLE, HANDLE,
                            LPVOID data) {
  CopyJob* job = static_cast<CopyJob*>(data);
  if (job->observer == nullptr) return PROGRESS_CONTINUE;
  if (reason == CALLBACK_STREAM_SWITCH) {
    job->reported = 0;
    job->observer->BeginTransfer(kTransferKind, totalFileSize.LowPart, nullptr);
  }
  if (job->observer->IsCanceled()) return PROGRESS_CANCEL;
  const uint64_t transferred = static_cast<uint64_t>(totalBytesTransferred.QuadPart);
  if (transferred > job->reported) {
    const uint64_t delta = transferred - job->reported;
    job->reported = transferred;
    job->observer->Progress(static_cast<uint32_t>(delta));
  }
  return PROGRESS_CONTINUE;
}

uint32_t TransferSession::OpenShareFile(const std::wstring& url, const std::wstring& localPath,
                                        const std::wstring& user, const std::wstring& password,
                                        uint32_t& offset, uint32_t& totalSize) {
  currentHandle_ = nullptr;
  connectHandle_.reset();
  std::wstring remote = FolderOfPath(localPath);
  DWORD code = 0;
  if (!user.empty()) {
    NETRESOURCEW resource = {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpRemoteName = &remote[0];
    code = ::WNetAddConnection2W(&resource, NullWhenEmpty(password), user.c_str(), 0);
  }
  if (code == 0) {
    FileStatus status;
    code = GetFileStatus(localPath, status);
    if (code == 0) {
      offset = 0;
      totalSize = status.size;
      return 0;
    }
  }
  if (IsShareLogonRefusal(code)) RequestCredentials(url);
  return code;
}

uint32_t TransferSession::CopyLocalFile(const std::wstring& source) {
  DWORD code = CreateFolderTree(partPath_, false, nullptr);
  if (code != 0) {
    Report(nullptr, code);
    return code;
  }
  CopyJob job = {observer_, 0};
  if (!::CopyFileExW(source.c_str(), partPath_.c_str(), &CopyProgress, &job, nullptr, 0)) {
    code = ::GetLastError();
    Report(nullptr, code);
    return code;
  }
  return MovePartFileOntoTarget();
}

}  // namespace kestrune
