#include "tests/chainer_run.h"

#include "platform/unique_handle.h"

namespace kestrune {
namespace testing {

std::wstring ChainerRun::Install(const std::wstring& exeName) {
  const std::wstring exe = scratch / exeName;
  CopyFileOrFail(ProgramFolder() + L"\\chainer.exe", exe);
  return exe;
}

void ChainerRun::Configure(const std::wstring& iniName, const std::wstring& text) {
  WriteUtf16WithMark(scratch / iniName, text);
}

uint32_t ChainerRun::RunToEnd(const std::wstring& exe) {
  ChildProcess process(exe, scratch.path());
  EXPECT_TRUE(process.valid());
  EXPECT_TRUE(process.WaitFor(kRunTimeout)) << "chainer did not end";
  return process.ExitCode();
}

std::vector<std::wstring> ChainerRun::FolderContent() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const FindHandle find(::FindFirstFileW((scratch / L"*").c_str(), &data));
  if (!find) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(find.get(), &data));
  return names;
}

}  // namespace testing
}  // namespace kestrune
