#include "platform/fs_redirection.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/wow64.h"
#include "tests/test_support.h"

namespace kestrune {
namespace {

const WORD kMachineI386 = 0x14C;
const WORD kMachineAmd64 = 0x8664;

// The machine type in the PE header of the file this thread sees at `path`; 0 when unreadable.
WORD MachineOf(const std::wstring& path) {
  const std::vector<unsigned char> bytes = testing::ReadBytes(path);
  if (bytes.size() < 0x40) return 0;
  const size_t header = bytes[0x3C] | (bytes[0x3D] << 8) | (bytes[0x3E] << 16) |
                        (static_cast<size_t>(bytes[0x3F]) << 24);
  if (header + 6 > bytes.size()) return 0;
  return static_cast<WORD>(bytes[header + 4] | (bytes[header + 5] << 8));
}

// kernel32.dll of the system folder as this 32-bit process names it; with redirection on the
// system shows it the 32-bit copy from SysWOW64.
std::wstring SystemKernel32() {
  wchar_t folder[MAX_PATH] = {};
  ::GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\kernel32.dll";
}

class FsRedirectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(IsWow64System()) << "the test prefix must be 64-bit with WoW64";
    ASSERT_EQ(MachineOf(SystemKernel32()), kMachineI386);
  }
};

TEST_F(FsRedirectionTest, DisableShowsTheNativeFileAndRevertTheRedirectedOne) {
  FsRedirectionGuard guard;
  guard.Disable();
  EXPECT_TRUE(guard.disabled());
  EXPECT_EQ(MachineOf(SystemKernel32()), kMachineAmd64);
  guard.Revert();
  EXPECT_FALSE(guard.disabled());
  EXPECT_EQ(MachineOf(SystemKernel32()), kMachineI386);
}

TEST_F(FsRedirectionTest, DestructionRestoresRedirection) {
  {
    FsRedirectionGuard guard;
    guard.Disable();
    ASSERT_EQ(MachineOf(SystemKernel32()), kMachineAmd64);
  }
  EXPECT_EQ(MachineOf(SystemKernel32()), kMachineI386);
}

TEST_F(FsRedirectionTest, SecondDisableKeepsTheFirstStateToRestore) {
  FsRedirectionGuard guard;
  guard.Disable();
  guard.Disable();
  guard.Revert();
  EXPECT_EQ(MachineOf(SystemKernel32()), kMachineI386);
  guard.Revert();  // nothing left to restore
  EXPECT_EQ(MachineOf(SystemKernel32()), kMachineI386);
}

TEST_F(FsRedirectionTest, GuardNeverDisabledDoesNothingWhenDestroyed) {
  FsRedirectionGuard outer;
  outer.Disable();
  {
    FsRedirectionGuard idle;
    EXPECT_FALSE(idle.disabled());
  }
  EXPECT_EQ(MachineOf(SystemKernel32()), kMachineAmd64);
  {
    FsRedirectionGuard idle;
    idle.Revert();
  }
  EXPECT_EQ(MachineOf(SystemKernel32()), kMachineAmd64);
  outer.Revert();
  EXPECT_EQ(MachineOf(SystemKernel32()), kMachineI386);
}

}  // namespace
}  // namespace kestrune
