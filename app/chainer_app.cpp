#include "app/chainer_app.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>

#include "app/installer_mutex.h"
#include "config/config_file.h"
#include "detect/os_version.h"
#include "engine/operations_engine.h"
#include "log/logger.h"
#include "platform/path_text.h"
#include "platform/system_paths.h"
#include "platform/unique_handle.h"
#include "prereq/evaluation.h"
#include "ui/message_pump.h"

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

namespace {

DWORD WINAPI EvaluationWorker(void* config) {
  EvaluateAll(*static_cast<ChainerConfig*>(config));
  return 0;
}

// Evaluates on a worker thread while this thread keeps its windows alive. When no thread can be
// started nothing is evaluated: every state stays undefined and nothing will be installed.
void EvaluateWhilePumping(ChainerConfig& config) {
  const KernelHandle worker(::CreateThread(nullptr, 0, EvaluationWorker, &config, 0, nullptr));
  if (!worker) return;
  PumpMessagesUntilSignaled(worker.get());
  ::WaitForSingleObject(worker.get(), INFINITE);
}

}  // namespace

// The store lives for this call only and is closed on every path: its key goes with it unless
// the run ends waiting for a reboot, when the next run needs the exit codes kept there.
int32_t ChainerApp::RunPrerequisites(ChainerConfig& config) {
  InterbootStore interbootStore(kInterbootKeyPath, true);
  const int32_t exitCode = EvaluateAndRun(config, interbootStore);
  if (exitCode == kExitReboot) interbootStore.SetDeleteOnClose(false);
  interbootStore.Close();
  return exitCode;
}

int32_t ChainerApp::EvaluateAndRun(ChainerConfig& config, InterbootStore& interbootStore) {
  std::vector<Prerequisite>& prerequisites = config.prerequisites;
  if (prerequisites.empty()) return kExitDone;

  if (silent) {
    EvaluateAll(config);
  } else {
    EvaluateWhilePumping(config);
  }

  const bool needsAction =
      std::any_of(prerequisites.begin(), prerequisites.end(),
                  [](const Prerequisite& p) { return NeedsAction(p.state); });
  if (!needsAction) {
    LogLine(L"No prerequisite must be installed.");
    return kExitDone;
  }
  const RebootOutcome reboot = RunPasses(config, interbootStore);
  LogRebootSummary(reboot);
  return (reboot.required && !reboot.refused) || reboot.inProgress ? kExitReboot : kExitDone;
}

// The engine is built for every mode, as it is the engine's destruction at the end of the run
// that deletes the downloaded setups.
RebootOutcome ChainerApp::RunPasses(ChainerConfig& config, InterbootStore& interbootStore) {
  OperationsEngine engine(config, packageFiles, config.ResolveDownloadFolder(), interbootStore);
  if (config.IsSilent()) {
    LogLine(L"Starting installing prerequisites in silent mode.");
    RunSilentPasses(engine);
  } else if (config.IsBasicUi()) {
    LogLine(L"Starting installing prerequisites in basic UI mode.");
    // The progress dialog runs the passes on its worker thread, with itself as observer.
  }
  return RebootOutcome();
}

// Silent mode runs every pass, in order, whatever the one before returned: without observer
// nobody can cancel, and the checks after the passes decide the outcome.
void ChainerApp::RunSilentPasses(OperationsEngine& engine) {
  engine.DownloadPass(nullptr);
  // Then the open-site pass and the install pass, and, unless a setup asked for a reboot, the
  // re-evaluation and the check of the mandatory prerequisites (exit code 1 when one is
  // missing).
}

void ChainerApp::LogRebootSummary(const RebootOutcome& reboot) {
  const auto flag = [](bool value) { return value ? L"true" : L"false"; };
  LogLine(L"After running prerequisites we have:");
  LogLine(std::wstring(L"  Reboot was required=") + flag(reboot.required));
  if (!reboot.required) return;
  LogLine(std::wstring(L"  Reboot was refused=") + flag(reboot.refused));
  if (!reboot.refused) LogLine(std::wstring(L"  Reboot in Progress=") + flag(reboot.inProgress));
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
