#pragma once
// A test fixture that places the real chainer.exe in a scratch package folder, writes its
// configuration as the generator does and runs it to its end.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace kestrune {
namespace testing {

class ChainerRun : public ::testing::Test {
 protected:
  // How long one run may take before the test gives up on it.
  static constexpr DWORD kRunTimeout = 30000;

  // Places chainer.exe in the package folder under `exeName` and returns its path.
  std::wstring Install(const std::wstring& exeName);

  // Writes a configuration beside the executable: UTF-16 with its mark; `text` uses CR LF.
  void Configure(const std::wstring& iniName, const std::wstring& text);

  // Runs the executable to its end and returns its whole exit code.
  uint32_t RunToEnd(const std::wstring& exe);

  // Names of the package folder's entries.
  std::vector<std::wstring> FolderContent();

  ScratchFolder scratch;
};

}  // namespace testing
}  // namespace kestrune
