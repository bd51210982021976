#include "transfer/partfile_writer.h"

namespace kestrune {

namespace {

// A block is handed over once it cannot take this many more reads.
const size_t kReadsPerBlock = 8;

}  // namespace

PartFileWriter::PartFileWriter(HANDLE file, OperationObserver* observer, size_t readSize)
    : file_(file), observer_(observer), readSize_(readSize) {
  buffers_[0].resize(readSize * kReadsPerBlock);
  buffers_[1].resize(readSize * kReadsPerBlock);
  work_.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
  idle_.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (work_ && idle_) {
    thread_.reset(::CreateThread(nullptr, 0, &PartFileWriter::WriterThread, this, 0, nullptr));
  }
}

PartFileWriter::~PartFileWriter() {
  Flush();
  if (thread_) {
    stop_ = true;
    ::SetEvent(work_.get());
    ::WaitForSingleObject(thread_.get(), INFINITE);
  }
}

uint32_t PartFileWriter::Added(uint32_t bytes) {
  filled_ += bytes;
  return buffers_[current_].size() - filled_ < readSize_ ? Start() : 0;
}

uint32_t PartFileWriter::Start() {
  const uint32_t error = WaitForWriter();
  if (filled_ == 0) return error;
  block_ = buffers_[current_].data();
  blockSize_ = static_cast<DWORD>(filled_);
  current_ = 1 - current_;
  filled_ = 0;
  inFlight_ = true;
  if (thread_) {
    ::SetEvent(work_.get());
  } else {
    Write();
  }
  return error;
}

uint32_t PartFileWriter::Flush() {
  const uint32_t error = Start();
  const uint32_t last = WaitForWriter();
  return error != 0 ? error : last;
}

uint32_t PartFileWriter::WaitForWriter() {
  if (!inFlight_) return 0;
  if (thread_) ::WaitForSingleObject(idle_.get(), INFINITE);
  inFlight_ = false;
  if (observer_ != nullptr && written_ != 0) observer_->Progress(written_);
  return error_;
}

void PartFileWriter::Write() {
  written_ = 0;
  error_ = ::WriteFile(file_, block_, blockSize_, &written_, nullptr) ? 0 : ::GetLastError();
}

DWORD WINAPI PartFileWriter::WriterThread(LPVOID self) {
  PartFileWriter* writer = static_cast<PartFileWriter*>(self);
  for (;;) {
    ::WaitForSingleObject(writer->work_.get(), INFINITE);
    if (writer->stop_) return 0;
    writer->Write();
    ::SetEvent(writer->idle_.get());
  }
}

}  // namespace kestrune
