#include "prereq/download_presence.h"

#include <windows.h>

#include "platform/download_names.h"
#include "platform/unique_handle.h"

namespace kestrune {

bool IsAlreadyPresent(const std::wstring& downloadRoot, const std::wstring& url,
                      int32_t exactSize, const std::wstring& folder) {
  if (!LocalPathFromUrl(url).empty()) return true;
  const std::wstring target = DownloadTargetPath(downloadRoot, url, folder);
  WIN32_FIND_DATAW data = {};
  const FindHandle find(::FindFirstFileW(target.c_str(), &data));
  if (!find) return false;
  return exactSize == 0 || data.nFileSizeLow == static_cast<DWORD>(exactSize);
}

}  // namespace kestrune
