#pragma once
// Helpers for the transfer tests: the local servers started by tests/servers/transfer-servers
// (their ports, URLs and request logs), the byte pattern they serve, and an observer that records
// what a transfer reports and can cancel, pause or answer errors on cue.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "transfer/operation_observer.h"

namespace kestrune {
namespace testing {

// The port a server of the transfer fixture wrote to "<name>.port" ("nginx", "fault",
// "fault_tls", "dead", "ftp", "ftp_strict"); 0 (and a test failure) when there is none.
uint16_t ServerPort(const std::wstring& name);

// A name no other test (in this or another process) uses: requests of the fault server are
// counted and logged per token.
std::wstring UniqueToken();

// "http://127.0.0.1:PORT/t/TOKEN/file.bin?QUERY" on the fault server.
std::wstring FaultUrl(const std::wstring& token, const std::wstring& query);
// "http://127.0.0.1:PORT/NAME" on nginx.
std::wstring NginxUrl(const std::wstring& name);
// "SCHEME://[CREDENTIALS@]127.0.0.1:PORT/NAME" on an FTP server ("ftp" or "ftp_strict").
std::wstring FtpUrl(const std::wstring& server, const std::wstring& name,
                    const std::wstring& credentials = L"");

// Number of download requests the fault server saw for `token`, and their Range headers ("-"
// when a request had none), in order.
int FaultRequestCount(const std::wstring& token);
std::vector<std::string> FaultRanges(const std::wstring& token);

// `count` bytes of the servers' pattern from byte `from` on.
std::vector<unsigned char> PatternBytes(size_t from, size_t count);

// Records the calls a transfer makes. Cancel and pause are scripted by the number of bytes
// reported through Progress so far.
class RecordingObserver : public OperationObserver {
 public:
  struct Error {
    std::wstring text;  // "(null)" when the transfer passed no text
    uint32_t code;
  };

  void SetStepCount(int, int) override {}
  void BeginTransfer(int kind, uint32_t totalBytes, const wchar_t* targetPath) override;
  void Completed(int kind, uint32_t code) override;
  void Progress(uint32_t bytes) override;
  bool IsCanceled() override;
  bool IsPaused() override;
  int ReportError(const wchar_t* text, uint32_t code, int context) override;
  void Step(const wchar_t*, int, int) override {}

  // Cancel at every poll from now on.
  void CancelNow() { cancelNow_ = true; }
  // Cancel once Progress has reported more than `bytes`.
  void CancelAfter(uint64_t bytes) { cancelAfter_ = bytes; }
  // Pause for `milliseconds` once Progress has reported more than `bytes`.
  void PauseAfter(uint64_t bytes, DWORD milliseconds) {
    pauseAfter_ = bytes;
    pauseLength_ = milliseconds;
  }
  // The answers of ReportError, in order; once they run out it answers with the code.
  void AnswerErrorsWith(const std::vector<int>& answers) { answers_ = answers; }

  uint64_t progressTotal = 0;
  int progressCalls = 0;
  std::vector<uint32_t> beginTotals;  // totalBytes of every BeginTransfer
  std::vector<std::wstring> beginTargets;
  int completedTransfers = 0;
  std::vector<Error> errors;
  // Progress calls made while the observer answered IsPaused with true.
  int progressCallsWhilePaused = 0;
  DWORD pausedFor = 0;  // milliseconds from the pause's start to its end

 private:
  bool cancelNow_ = false;
  uint64_t cancelAfter_ = UINT64_MAX;
  uint64_t pauseAfter_ = UINT64_MAX;
  DWORD pauseLength_ = 0;
  DWORD pauseStart_ = 0;
  bool pausing_ = false;
  bool pauseDone_ = false;
  std::vector<int> answers_;
};

}  // namespace testing
}  // namespace kestrune
