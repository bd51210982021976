#include "app/chainer_app.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>

#include "app/installer_mutex.h"
#include "config/config_file.h"
#include "detect/os_version.h"
#include "log/logger.h"
#include "platform/path_text.h"
#include "platform/system_paths.h"
#include "platform/unique_handle.h"

namespace kestrune {

void ChainerApp::Run() {
  modulePath = ModulePath();
  moduleFolder = FolderOfPath(modulePath);
  iniPath = ConfigPathForModule(modulePath);

  // No configuration beside the executable: nothing to do, nothing logged, shown or cleaned.
  WIN32_FIND_DATAW found = {};
  const FindHandle iniFind(::FindFirstFileW(iniPath.c_str(), &found));
  if (!iniFind) return;

  IniDocument document;
  ReadConfigFile(found.nFileSizeLow, document);
  ChainerConfig config;
  config.Load(document);
  StartLogging(document);

  silent = config.IsSilent();
  packageFiles.SetExtractionFolder(config.ResolveExtractionFolder());
  ::SetCurrentDirectoryW(moduleFolder.c_str());

  if (WaitForInstallerIdle()) result = RunPrerequisites(config);
}

// Reads the file's text after its two-byte mark into `document`. A file that cannot be opened or
// read leaves the document empty.
void ChainerApp::ReadConfigFile(uint32_t size, IniDocument& document) const {
  const FileHandle file(::CreateFileW(iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || size <= 2) return;
  if (::SetFilePointer(file.get(), 2, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return;
  std::vector<unsigned char> bytes(size - 2);
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read == 0) {
    return;
  }
  bytes.resize(read);
  document.Parse(ConfigTextFromBytes(bytes));
}

// Logging starts only when the chainer's section names a log file; nothing is logged before.
void ChainerApp::StartLogging(const IniDocument& document) const {
  ChainerSection section;
  if (!ReadChainerSection(document, section) || section.logFile.empty()) return;
  TheLogger().SetOsVersionSource(&GetOsVersionInfo);
  LoggingEnabled = true;
  TheLogger().SetLogFile(section.logFile);
}

int32_t ChainerApp::RunPrerequisites(ChainerConfig& config) {
  std::vector<Prerequisite>& prerequisites = config.prerequisites;
  if (prerequisites.empty()) return kExitDone;

  const bool needsAction =
      std::any_of(prerequisites.begin(), prerequisites.end(),
                  [](const Prerequisite& p) { return NeedsAction(p.state); });
  if (!needsAction) {
    LogLine(L"No prerequisite must be installed.");
    return kExitDone;
  }
  // Nothing can be installed yet: the operations engine does not exist.
  return kExitDone;
}

int RunChainerProcess() {
  const bool comInitialized = ::CoInitialize(nullptr) == S_OK;
  int exitCode = kExitDone;
  {
    ChainerApp app;
    app.Run();
    exitCode = app.exitCode();
  }
  if (comInitialized) ::CoUninitialize();
  return exitCode;
}

}  // namespace kestrune
