#pragma once
// The process-wide log file: UTF-16 text, a header block each time a run opens it, timestamped
// lines, flushed after every write, and an end marker when the process ends.
//
// Thread safety: SetLogFile and AppendLine take the logger's lock for their whole duration, so
// the main thread and workers may log at once. LoggingEnabled is written once on the main thread
// before any worker starts.

#include <windows.h>

#include <string>

#include "platform/os_version_info.h"
#include "platform/unique_handle.h"

namespace kestrune {

// True when the configuration names a log file. Nothing is logged, and no file or folder is
// created, while it is false.
extern bool LoggingEnabled;

// Where the fallback log files go when the configured path cannot be opened.
struct LogLocations {
  std::wstring commonDataFolder;  // the common application-data folder; empty: unavailable
  std::wstring modulePath;        // the running executable
  std::wstring tempFolder;        // the temporary folder, ending in a backslash
};

// The locations of this machine and process.
LogLocations SystemLogLocations();

// Gives the OS record for the header line; read each time the file is opened.
using OsVersionSource = const OsVersionInfo& (*)();

class Logger {
 public:
  // The process logger: fallback locations come from the system when first needed, and the end
  // marker is written at destruction when LoggingEnabled is set.
  Logger();
  // A logger with fixed fallback locations that always writes the end marker (for tests).
  explicit Logger(const LogLocations& locations);
  ~Logger();

  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  // Stores the path of the log file, used unchanged. Ignored when a file is already open and the
  // path differs from the current one.
  void SetLogFile(const std::wstring& path);

  // Appends timestamp, "-", `text` and CR LF, opening the file first when needed. A line that
  // cannot be written is dropped silently.
  void AppendLine(const std::wstring& text);

  void SetOsVersionSource(OsVersionSource source);

  // The path of the file in use or to be tried next; empty when none is chosen.
  std::wstring CurrentPath();

 private:
  void EnsureOpen();
  bool NextCandidate(int& counter, std::wstring& path);
  void Write(const std::wstring& text);
  const LogLocations& Locations();

  CRITICAL_SECTION lock_;
  std::wstring path_;
  FileHandle file_;
  LogLocations locations_;
  bool locationsKnown_;
  bool alwaysEndMarker_;
  OsVersionSource osVersion_ = nullptr;
};

// The process's one logger.
Logger& TheLogger();

// Appends `text` to the process log when LoggingEnabled.
void LogLine(const std::wstring& text);

// The system's message for a Win32 error code, untrimmed (system texts end in CR LF); the code in
// signed decimal when the system has no text for it.
std::wstring SystemErrorText(DWORD code);

}  // namespace kestrune
