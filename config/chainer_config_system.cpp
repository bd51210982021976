// The parts of the configuration that ask the system: reference expansion at load, the temporary
// folder behind the default folders, and the string table behind the status texts.
#include <windows.h>

#include "config/chainer_config.h"
#include "detect/references.h"
#include "platform/system_paths.h"
#include "resources/resource_ids.h"

namespace kestrune {
namespace {

std::wstring ExpandWithoutView(const std::wstring& text) { return ExpandReferences(text, false); }

std::wstring ResolveFolder(const std::wstring& configured, const std::wstring& defaultProdCode) {
  if (configured.empty()) return DefaultPackageFolder(TempFolder(), defaultProdCode);
  return FinishConfiguredFolder(ExpandWithoutView(configured));
}

std::wstring LoadResourceString(UINT id) {
  const wchar_t* text = nullptr;
  // With a zero buffer size LoadStringW returns a read-only pointer to the resource itself.
  const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id,
                                   reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace

void ChainerConfig::Load(const IniDocument& document) { Load(document, ExpandWithoutView); }

const std::wstring& ChainerConfig::ResolveDownloadFolder() {
  if (!downloadFolderResolved_) {
    downloadFolder_ = ResolveFolder(general.downloadFolder, general.defaultProdCode);
    downloadFolderResolved_ = true;
  }
  return downloadFolder_;
}

const std::wstring& ChainerConfig::ResolveExtractionFolder() {
  if (!extractionFolderResolved_) {
    extractionFolder_ = ResolveFolder(general.extractionFolder, general.defaultProdCode);
    extractionFolderResolved_ = true;
  }
  return extractionFolder_;
}

std::wstring ChainerConfig::StatusText(int kind) const {
  switch (kind) {
    case 0: return LoadResourceString(IDS_SEARCHING);
    case 1: return LoadResourceString(IDS_DOWNLOADING);
    case 2: return LoadResourceString(IDS_INSTALLING);
    case 3: return LoadResourceString(IDS_OPENING_SITE);
    default: return std::wstring();
  }
}

}  // namespace kestrune
