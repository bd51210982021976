#pragma once
// Writes the data a transfer receives to its part file, in large blocks and off the receiving
// thread.
//
// Threads: every member is called by the transfer's thread, which is also the only one that calls
// the observer. A writer thread of its own does the WriteFile calls; it touches the file only
// between Start() and the next wait for it, so the transfer may use the file (size, flush, close)
// after Flush().

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/unique_handle.h"
#include "transfer/operation_observer.h"

namespace kestrune {

class PartFileWriter {
 public:
  // `file` is open for writing at the position where data continues; `observer` (may be null)
  // gets Progress for every block once it is written. `readSize` is the most one read adds.
  PartFileWriter(HANDLE file, OperationObserver* observer, size_t readSize);
  // Writes what is left (errors are lost then: call Flush first to see them).
  ~PartFileWriter();

  PartFileWriter(const PartFileWriter&) = delete;
  PartFileWriter& operator=(const PartFileWriter&) = delete;

  // Room for one read of up to `readSize` bytes.
  char* Space() { return buffers_[current_].data() + filled_; }

  // `bytes` were read into Space(). When the block cannot take another read it is handed to the
  // writer thread. Returns 0, or the error of an earlier block's write.
  uint32_t Added(uint32_t bytes);

  // Hands the block received so far to the writer thread without waiting for it (the transfer is
  // about to wait anyway). Returns 0, or the error of an earlier block's write.
  uint32_t Start();

  // Writes everything received so far and waits until it is in the file. Returns 0, or the first
  // write error not yet returned.
  uint32_t Flush();

 private:
  static DWORD WINAPI WriterThread(LPVOID self);
  uint32_t WaitForWriter();
  void Write();

  HANDLE file_;
  OperationObserver* observer_;
  size_t readSize_;
  std::vector<char> buffers_[2];
  int current_ = 0;   // the buffer reads go to
  size_t filled_ = 0;
  // The block handed over; owned by the writer thread between Start() and its idle signal.
  const char* block_ = nullptr;
  DWORD blockSize_ = 0;
  DWORD written_ = 0;
  DWORD error_ = 0;
  bool inFlight_ = false;
  bool stop_ = false;
  KernelHandle work_;   // auto-reset: a block (or the stop) is waiting for the writer thread
  KernelHandle idle_;   // auto-reset: the writer thread finished a block
  KernelHandle thread_;  // null when no thread could start: blocks are then written inline
};

}  // namespace kestrune
