#pragma once
// The texts of the log file that need no system call: the line timestamp and the header block.

#include <string>

#include "platform/os_version_info.h"

namespace kestrune {

// The banner that opens each run's header block.
extern const wchar_t kLogBanner[];
// The last line a run writes.
extern const wchar_t kLogEndMarker[];

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// "YYYY-MM-DD hh-mm-ss" (note the hyphens inside the time).
std::wstring FormatLogTimestamp(const LocalTime& time);

// "OS Version: major.minor.build SPn (server|workstation) [x64|x86]" with CR LF.
std::wstring FormatOsVersionLine(const OsVersionInfo& os);

// The pieces of the header block written each time the file is opened, in order: banner, OS
// line, CPU line, empty line.
std::wstring FormatLogHeader(const OsVersionInfo& os, const std::wstring& cpuBrand);

}  // namespace kestrune
