#include "log/log_format.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(LogFormat, TimestampUsesHyphensInsideTheTime) {
  EXPECT_EQ(FormatLogTimestamp({2021, 3, 4, 9, 5, 3}), L"2021-03-04 09-05-03");
  EXPECT_EQ(FormatLogTimestamp({1999, 12, 31, 23, 59, 59}), L"1999-12-31 23-59-59");
}

TEST(LogFormat, OsVersionLine) {
  const struct {
    OsVersionInfo os;
    const wchar_t* line;
  } cases[] = {
      {{}, L"OS Version: 0.0.0 SP0 (workstation) [x86]\r\n"},
      {{6, 1, 7601, 1, false, true}, L"OS Version: 6.1.7601 SP1 (workstation) [x64]\r\n"},
      {{10, 0, 20348, 0, true, false}, L"OS Version: 10.0.20348 SP0 (server) [x86]\r\n"},
      {{4294967295u, 0, 0, 0, false, false}, L"OS Version: 4294967295.0.0 SP0 (workstation) [x86]\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatOsVersionLine(c.os), c.line);
}

TEST(LogFormat, HeaderBlockStartsWithAnEmptyLineAndEndsWithOne) {
  EXPECT_EQ(FormatLogHeader({6, 1, 7601, 1, false, true}, L"  Test CPU"),
            L"\r\n<< Kestrune (x86) Log >>\r\n"
            L"OS Version: 6.1.7601 SP1 (workstation) [x64]\r\n"
            L"CPU:   Test CPU\r\n"
            L"\r\n");
}

}  // namespace
}  // namespace kestrune
