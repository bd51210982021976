// The half of the download check that reads the file.
#include <windows.h>

#include "engine/download_check.h"
#include "platform/file_md5.h"
#include "platform/unique_handle.h"

namespace kestrune {
namespace {

// Opened without sharing: nobody may be writing the file while it is judged.
uint32_t SizeOfDownload(const std::wstring& path) {
  const FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  LARGE_INTEGER size = {};
  return ::GetFileSizeEx(file.get(), &size) ? size.LowPart : 0;
}

}  // namespace

bool IsDownloadAccepted(const std::wstring& path, uint32_t exactSize, const std::wstring& md5) {
  if (exactSize != 0 && SizeOfDownload(path) != exactSize) return false;
  if (md5.empty()) return true;
  std::wstring digest;
  return FileMd5Hex(path, digest) && Md5TextMatches(digest, md5);
}

}  // namespace kestrune
