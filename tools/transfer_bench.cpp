// transfer_bench.exe MODE URL [TARGET]
//
// Downloads URL once and prints "bytes=<count> ms=<milliseconds>". Modes:
//   session  through a TransferSession into TARGET (the product's path: part file, progress)
//   async    the smallest asynchronous WinINet loop with the session's protocol: query the data
//            available, read min(available, 51200), wait on the completion event; writes nothing
//   sync     a synchronous loop of 51200-byte reads; writes nothing
// Used by scripts/bench.

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "transfer/transfer_session.h"

namespace {

const DWORD kBufferSize = 51200;

struct AsyncState {
  HANDLE done;
  DWORD_PTR result;
  DWORD error;
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
  if (status != INTERNET_STATUS_REQUEST_COMPLETE) return;
  AsyncState* state = reinterpret_cast<AsyncState*>(context);
  const INTERNET_ASYNC_RESULT* result = static_cast<const INTERNET_ASYNC_RESULT*>(info);
  state->result = result->dwResult;
  state->error = result->dwError;
  ::SetEvent(state->done);
}

// Waits for the completion of a call that returned false; true when it succeeded.
bool Completed(AsyncState& state) {
  const DWORD error = ::GetLastError();
  if (error != ERROR_IO_PENDING && error != ERROR_SUCCESS) return false;
  ::WaitForSingleObject(state.done, INFINITE);
  return state.result != 0;
}

unsigned long long AsyncLoop(const std::wstring& url) {
  AsyncState state = {::CreateEventW(nullptr, FALSE, FALSE, nullptr), 0, 0};
  const HINTERNET internet = ::InternetOpenW(L"Kestrune", INTERNET_OPEN_TYPE_PRECONFIG, nullptr,
                                             nullptr, INTERNET_FLAG_ASYNC);
  ::InternetSetStatusCallbackW(internet, &OnStatus);
  const DWORD_PTR context = reinterpret_cast<DWORD_PTR>(&state);
  HINTERNET request = ::InternetOpenUrlW(internet, url.c_str(), nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                                         context);
  if (request == nullptr && Completed(state)) request = reinterpret_cast<HINTERNET>(state.result);
  unsigned long long total = 0;
  std::vector<char> buffer(kBufferSize);
  while (request != nullptr) {
    DWORD available = 0;
    if (!::InternetQueryDataAvailable(request, &available, 0, 0)) {
      if (!Completed(state)) break;
      available = state.error;
    }
    if (available == 0) break;
    DWORD read = 0;
    if (!::InternetReadFile(request, buffer.data(), std::min(available, kBufferSize), &read)) {
      if (!Completed(state)) break;
      if (state.error > 0) read = state.error;
    }
    if (read == 0) break;
    total += read;
  }
  if (request != nullptr) ::InternetCloseHandle(request);
  ::InternetSetStatusCallbackW(internet, nullptr);
  ::InternetCloseHandle(internet);
  ::CloseHandle(state.done);
  return total;
}

unsigned long long SyncLoop(const std::wstring& url) {
  const HINTERNET internet =
      ::InternetOpenW(L"Kestrune", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  const HINTERNET request = ::InternetOpenUrlW(
      internet, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  unsigned long long total = 0;
  std::vector<char> buffer(kBufferSize);
  DWORD read = 0;
  while (request != nullptr && ::InternetReadFile(request, buffer.data(), kBufferSize, &read) &&
         read > 0) {
    total += read;
  }
  if (request != nullptr) ::InternetCloseHandle(request);
  ::InternetCloseHandle(internet);
  return total;
}

class CountingObserver : public kestrune::NullOperationObserver {
 public:
  void Progress(uint32_t bytes) override { total += bytes; }
  unsigned long long total = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: transfer_bench session|async|sync URL [TARGET]\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  const std::wstring url = argv[2];
  const DWORD start = ::GetTickCount();
  unsigned long long bytes = 0;
  if (mode == L"session" && argc >= 4) {
    CountingObserver observer;
    kestrune::TransferSession session(&observer);
    const uint32_t code = session.Download(url, argv[3]);
    if (code != 0) {
      std::fprintf(stderr, "download failed: 0x%08lX\n", static_cast<unsigned long>(code));
      return 1;
    }
    bytes = observer.total;
  } else if (mode == L"async") {
    bytes = AsyncLoop(url);
  } else if (mode == L"sync") {
    bytes = SyncLoop(url);
  } else {
    std::fwprintf(stderr, L"unknown mode or missing target\n");
    return 2;
  }
  std::printf("bytes=%llu ms=%lu\n", bytes, static_cast<unsigned long>(::GetTickCount() - start));
  return 0;
}
