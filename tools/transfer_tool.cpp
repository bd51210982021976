// transfer_tool.exe URL TARGET [--expected-size N] [--cancel-after BYTES]
//
// Downloads one location to one path through a TransferSession, as the download pass does, and
// prints one line: "result=<code in hex> began=<0|1> received=<bytes reported>". Errors the
// session reports go to the standard error stream. Used by scripts/soak-transfers.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "transfer/transfer_session.h"

namespace {

class ToolObserver : public kestrune::NullOperationObserver {
 public:
  explicit ToolObserver(unsigned long long cancelAfter) : cancelAfter_(cancelAfter) {}

  void BeginTransfer(int, uint32_t, const wchar_t*) override { began = true; }
  void Progress(uint32_t bytes) override { received += bytes; }
  bool IsCanceled() override { return received > cancelAfter_; }
  int ReportError(const wchar_t* text, uint32_t code, int) override {
    std::fwprintf(stderr, L"reported: %ls 0x%08lX\n", text == nullptr ? L"(null)" : text,
                  static_cast<unsigned long>(code));
    return static_cast<int>(code);
  }

  bool began = false;
  unsigned long long received = 0;

 private:
  unsigned long long cancelAfter_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr,
                  L"usage: transfer_tool URL TARGET [--expected-size N] [--cancel-after BYTES]\n");
    return 2;
  }
  unsigned long expectedSize = 0;
  unsigned long long cancelAfter = ~0ULL;
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::wstring option = argv[i];
    if (option == L"--expected-size") expectedSize = std::wcstoul(argv[i + 1], nullptr, 10);
    if (option == L"--cancel-after") cancelAfter = std::wcstoull(argv[i + 1], nullptr, 10);
  }
  ToolObserver observer(cancelAfter);
  kestrune::TransferSession session(&observer);
  session.SetExpectedSize(expectedSize);
  const uint32_t code = session.Download(argv[1], argv[2]);
  std::printf("result=0x%08lX began=%d received=%llu\n", static_cast<unsigned long>(code),
              observer.began ? 1 : 0, observer.received);
  return code == 0 ? 0 : 1;
}
