#pragma once
// Helpers for the Windows tests: scratch folders on the real file system, UTF-16 files, child
// processes with their whole exit code.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kestrune {
namespace testing {

// A new empty folder under the temporary folder, removed with its content at destruction.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& path() const { return path_; }
  // path() + "\" + relative
  std::wstring operator/(const std::wstring& relative) const;

 private:
  std::wstring path_;
};

// Removes a file or a folder tree; missing paths are fine.
void RemoveTree(const std::wstring& path);

bool PathExists(const std::wstring& path);
bool IsFolder(const std::wstring& path);

std::vector<unsigned char> ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);

// The file as UTF-16 little-endian text, with its byte-order mark if it has one.
std::wstring ReadUtf16(const std::wstring& path);

// Writes `text` as the configuration generator does: FF FE, then UTF-16 little-endian. `text`
// should already use CR LF.
void WriteUtf16WithMark(const std::wstring& path, const std::wstring& text);

// Copies a file; fails the current test when it cannot.
void CopyFileOrFail(const std::wstring& from, const std::wstring& to);

// The folder of the running test program.
std::wstring ProgramFolder();

// A started process; Wait returns its 32-bit exit code.
class ChildProcess {
 public:
  // Starts `exePath` with the given working folder; valid() tells whether it started.
  ChildProcess(const std::wstring& exePath, const std::wstring& workFolder);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool valid() const { return process_ != nullptr; }
  // True when the process ended within `milliseconds`.
  bool WaitFor(DWORD milliseconds);
  uint32_t ExitCode();

 private:
  HANDLE process_ = nullptr;
};

// True when this program runs under Wine rather than Windows.
bool RunningUnderWine();

// True when `folder`'s access list has exactly one entry of its own (not inherited): full access
// for Everyone.
bool FolderGrantsEveryoneFullAccess(const std::wstring& folder);

// The messages of a log text after its first header block (see LogMessages).
std::vector<std::wstring> LogBodyMessages(const std::wstring& logText);

// Captures what the process log receives from now on. The first capture of a process switches
// logging on, into a file of the temporary folder named after the process (files of earlier
// processes are removed then).
class LogCapture {
 public:
  LogCapture();
  // The messages logged since construction, without timestamps.
  std::vector<std::wstring> Messages() const;

 private:
  size_t start_ = 0;
};

// Lines of a log text with the "YYYY-MM-DD hh-mm-ss-" prefix removed from timestamped lines.
std::vector<std::wstring> LogMessages(const std::wstring& logText);

}  // namespace testing
}  // namespace kestrune
