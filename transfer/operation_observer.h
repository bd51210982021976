#pragma once
// The reports of the passes and transfers to whoever shows their progress (the progress dialog in
// basic-UI mode). Silent runs have no observer at all: callers pass null.
//
// Threads: the observer is called on the thread running the passes; an implementation that owns
// windows forwards to them with window messages. IsCanceled and IsPaused are polled every 10 ms
// during a transfer.

#include <cstdint>

namespace kestrune {

// Kinds of Completed and BeginTransfer.
const int kCompletedAllPasses = 0;
const int kTransferKind = 1;

// Kind of Step that advances the progress.
const int kStepProgress = 9;

class OperationObserver {
 public:
  virtual ~OperationObserver() = default;

  // Number of progress steps of the coming pass.
  virtual void SetStepCount(int count, int reserved) = 0;
  // A transfer of `totalBytes` (0 when not announced) into `targetPath` starts.
  virtual void BeginTransfer(int kind, uint32_t totalBytes, const wchar_t* targetPath) = 0;
  // One transfer finished (kind 1), or all passes finished (kind 0).
  virtual void Completed(int kind, uint32_t code) = 0;
  // `bytes` more bytes arrived; the first call after opening a part file reports those present.
  virtual void Progress(uint32_t bytes) = 0;
  virtual bool IsCanceled() = 0;
  virtual bool IsPaused() = 0;
  // Shows an error; `text` may be null. The answer matters only after a certificate error, where
  // 0 asks for the request to be sent again.
  virtual int ReportError(const wchar_t* text, uint32_t code, int context) = 0;
  // One progress step described by `text`.
  virtual void Step(const wchar_t* text, int kind, int reserved) = 0;
};

// An observer that does nothing, never cancels and never pauses: the base of real observers.
class NullOperationObserver : public OperationObserver {
 public:
  void SetStepCount(int, int) override {}
  void BeginTransfer(int, uint32_t, const wchar_t*) override {}
  void Completed(int, uint32_t) override {}
  void Progress(uint32_t) override {}
  bool IsCanceled() override { return false; }
  bool IsPaused() override { return false; }
  int ReportError(const wchar_t*, uint32_t code, int) override { return static_cast<int>(code); }
  void Step(const wchar_t*, int, int) override {}
};

}  // namespace kestrune
