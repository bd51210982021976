// Measures FileMd5Hex: md5_bench FILE [RUNS] digests FILE RUNS times (3 when not given) and
// prints the digest and the best rate in MB/s (10^6 bytes per second), as "<digest> <MB/s>".
// Exit code 0, or 1 when the file cannot be digested.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "platform/file_md5.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: md5_bench FILE [RUNS]\n");
    return 1;
  }
  const std::wstring path = argv[1];
  const int runs = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 3;

  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    std::fwprintf(stderr, L"cannot read the size of %ls\n", path.c_str());
    return 1;
  }
  const double bytes = static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;

  std::wstring hex;
  double best = 0;
  for (int run = 0; run < (runs > 0 ? runs : 1); ++run) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    const bool ok = kestrune::FileMd5Hex(path, hex);
    ::QueryPerformanceCounter(&end);
    if (!ok) {
      std::fwprintf(stderr, L"cannot digest %ls\n", path.c_str());
      return 1;
    }
    const double rate = bytes / Seconds(start, end) / 1e6;
    if (rate > best) best = rate;
  }
  std::wprintf(L"%ls %.1f\n", hex.c_str(), best);
  return 0;
}
