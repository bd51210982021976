#include "log/logger.h"

#include <shlwapi.h>

#include "log/log_format.h"
#include "platform/access_list.h"
#include "platform/cpu.h"
#include "platform/path_text.h"
#include "platform/system_paths.h"

namespace kestrune {

bool LoggingEnabled = false;

namespace {

const wchar_t kLogFolderName[] = L"KESTRUNE_LOGS";

void DebugOutput(const std::wstring& text) { ::OutputDebugStringW(text.c_str()); }

// Creates the common log folder so that every account may write to it later: its access list
// grants Everyone full access. When that account cannot be looked up (its name is localised on
// some systems) the folder gets default security rather than no log at all.
bool CreateSharedLogFolder(const std::wstring& folder) {
  AccessListBuilder builder;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (builder.AddAccount(L"Everyone")) descriptor = builder.Build();
  SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
  return ::CreateDirectoryW(folder.c_str(), descriptor ? &attributes : nullptr) != FALSE;
}

bool EnsureFolder(const std::wstring& folder, bool shared) {
  if (::PathFileExistsW(folder.c_str())) return true;
  if (shared) return CreateSharedLogFolder(folder);
  return ::CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
}

LocalTime CurrentLocalTime() {
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

Logger g_logger;

}  // namespace

LogLocations SystemLogLocations() {
  return LogLocations{CommonAppDataFolder(), ModulePath(), TempFolder()};
}

Logger::Logger() : locationsKnown_(false), alwaysEndMarker_(false) {
  ::InitializeCriticalSection(&lock_);
}

Logger::Logger(const LogLocations& locations)
    : locations_(locations), locationsKnown_(true), alwaysEndMarker_(true) {
  ::InitializeCriticalSection(&lock_);
}

Logger::~Logger() {
  if (alwaysEndMarker_ || LoggingEnabled) AppendLine(kLogEndMarker);
  file_.reset();
  ::DeleteCriticalSection(&lock_);
}

void Logger::SetLogFile(const std::wstring& path) {
  ::EnterCriticalSection(&lock_);
  DebugOutput(L"Logger::SetLogFile( " + path + L" ) while OLD path is:" + path_);
  if (!file_ || path == path_) path_ = path;
  ::LeaveCriticalSection(&lock_);
}

void Logger::AppendLine(const std::wstring& text) {
  ::EnterCriticalSection(&lock_);
  EnsureOpen();
  Write(FormatLogTimestamp(CurrentLocalTime()));
  Write(L"-");
  Write(text);
  Write(L"\r\n");
  ::LeaveCriticalSection(&lock_);
}

void Logger::SetOsVersionSource(OsVersionSource source) {
  ::EnterCriticalSection(&lock_);
  osVersion_ = source;
  ::LeaveCriticalSection(&lock_);
}

std::wstring Logger::CurrentPath() {
  ::EnterCriticalSection(&lock_);
  const std::wstring path = path_;
  ::LeaveCriticalSection(&lock_);
  return path;
}

const LogLocations& Logger::Locations() {
  if (!locationsKnown_) {
    locations_ = SystemLogLocations();
    locationsKnown_ = true;
  }
  return locations_;
}

// Fallback locations in order: the shared log folder of the common application data, beside the
// executable, the log folder of the temporary folder. `counter` is the next candidate to try; false
// past the last one. A candidate whose folder cannot be prepared is passed over, so that a later
// one still gets the log.
bool Logger::NextCandidate(int& counter, std::wstring& path) {
  const LogLocations& places = Locations();
  while (counter <= 2) {
    const int number = counter++;
    if (number == 1) {
      path = ReplaceExtension(places.modulePath, L"LOG");
      return true;
    }
    const std::wstring base = number == 0 ? places.commonDataFolder : places.tempFolder;
    if (base.empty()) continue;
    const std::wstring folder = WithTrailingBackslash(base) + kLogFolderName;
    if (!EnsureFolder(folder, number == 0)) continue;
    path = folder + L"\\" + ReplaceExtension(FileNameOfPath(places.modulePath), L"LOG");
    return true;
  }
  return false;
}

void Logger::EnsureOpen() {
  if (file_) return;
  int candidate = 0;
  DWORD openError = 0;
  for (;;) {
    if (path_.empty() && !NextCandidate(candidate, path_)) return;
    file_.reset(::CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    openError = ::GetLastError();
    if (file_) break;
    DebugOutput(L"LOGGER->failed to create LOG at:" + path_);
    path_.clear();
  }
  if (openError == ERROR_ALREADY_EXISTS) {
    DebugOutput(L"LOGGER->Reusing LOG file at:" + path_ + L"\r\n");
    ::SetFilePointer(file_.get(), 0, nullptr, FILE_END);
  } else if (openError == 0) {
    DebugOutput(L"LOGGER->Creating LOG file at:" + path_ + L"\r\n");
    Write(L"\xFEFF");
  } else {
    file_.reset();
    return;
  }
  const OsVersionInfo os = osVersion_ ? osVersion_() : OsVersionInfo();
  Write(kLogBanner);
  Write(FormatOsVersionLine(os));
  Write(L"CPU: " + CpuBrandString() + L"\r\n");
  Write(L"\r\n");
}

void Logger::Write(const std::wstring& text) {
  if (!file_) return;
  DWORD written = 0;
  ::WriteFile(file_.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
              &written, nullptr);
  ::FlushFileBuffers(file_.get());
}

Logger& TheLogger() { return g_logger; }

void LogLine(const std::wstring& text) {
  if (LoggingEnabled) g_logger.AppendLine(text);
}

std::wstring SystemErrorText(DWORD code) {
  LocalMemory buffer;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
      nullptr, code, 0x0400, reinterpret_cast<LPWSTR>(buffer.Receive()), 0, nullptr);
  if (length == 0 || !buffer) return std::to_wstring(static_cast<int32_t>(code));
  return std::wstring(static_cast<const wchar_t*>(buffer.get()), length);
}

}  // namespace kestrune
