#pragma once
// The application object: the whole life of one chainer run, from finding the configuration
// beside the executable to the exit code. Used on the main thread only.

#include <cstdint>
#include <string>

#include "config/chainer_config.h"
#include "config/ini_document.h"
#include "launch/interboot_store.h"
#include "package/package_file_resolver.h"

namespace kestrune {

// Exit codes of the process.
const int32_t kExitDone = 0;
const int32_t kExitMandatoryMissing = 1;
const int32_t kExitReboot = -1;

// The current user's registry key that keeps the setups' exit codes across a reboot.
const char kInterbootKeyPath[] = "InterbootContext";

// What the passes leave to decide about a restart.
struct RebootOutcome {
  bool required = false;
  bool refused = false;
  bool inProgress = false;
};

class OperationsEngine;

class ChainerApp {
 public:
  ChainerApp() = default;
  ChainerApp(const ChainerApp&) = delete;
  ChainerApp& operator=(const ChainerApp&) = delete;

  // Runs the whole sequence; the outcome is exitCode().
  void Run();

  // Evaluates and runs the prerequisites of `config`; returns the exit code.
  int32_t RunPrerequisites(ChainerConfig& config);

  int32_t exitCode() const { return result; }

 private:
  void ReadConfigFile(uint32_t size, IniDocument& document) const;
  void StartLogging(const IniDocument& document) const;
  int32_t EvaluateAndRun(ChainerConfig& config, InterbootStore& interbootStore);
  RebootOutcome RunPasses(ChainerConfig& config, InterbootStore& interbootStore);
  static void RunSilentPasses(OperationsEngine& engine);
  static void LogRebootSummary(const RebootOutcome& reboot);

  int32_t result = kExitDone;
  bool silent = false;
  PackageFileResolver packageFiles;
  std::wstring modulePath;
  std::wstring iniPath;
  std::wstring moduleFolder;
};

// The process body behind the entry point: COM on the main thread, one ChainerApp, its exit code.
int RunChainerProcess();

}  // namespace kestrune
