#include "tests/test_support.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include "log/logger.h"
#include "platform/system_paths.h"
#include "platform/text.h"

namespace kestrune {
namespace testing {

ScratchFolder::ScratchFolder() {
  static LONG counter = 0;
  const std::wstring base = TempFolder() + L"kestrune-test-" +
                            std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(::InterlockedIncrement(&counter));
  RemoveTree(base);
  ::CreateDirectoryW(base.c_str(), nullptr);
  path_ = base;
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

std::wstring ScratchFolder::operator/(const std::wstring& relative) const {
  return path_ + L"\\" + relative;
}

void RemoveTree(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(path.c_str());
}

bool PathExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<unsigned char> ReadBytes(const std::wstring& path) {
  std::vector<unsigned char> bytes;
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  unsigned char buffer[65536];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    bytes.insert(bytes.end(), buffer, buffer + read);
  }
  ::CloseHandle(file);
  return bytes;
}

void WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create a test file";
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::wstring ReadUtf16(const std::wstring& path) {
  const std::vector<unsigned char> bytes = ReadBytes(path);
  std::wstring text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return text;
}

void WriteUtf16WithMark(const std::wstring& path, const std::wstring& text) {
  std::vector<unsigned char> bytes = {0xFF, 0xFE};
  for (wchar_t c : text) {
    bytes.push_back(static_cast<unsigned char>(c & 0xFF));
    bytes.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
  }
  WriteBytes(path, bytes);
}

void CopyFileOrFail(const std::wstring& from, const std::wstring& to) {
  ASSERT_TRUE(::CopyFileW(from.c_str(), to.c_str(), FALSE))
      << "copy failed with error " << ::GetLastError();
}

std::wstring ProgramFolder() {
  const std::wstring module = ModulePath();
  return module.substr(0, module.rfind(L'\\'));
}

ChildProcess::ChildProcess(const std::wstring& exePath, const std::wstring& workFolder) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  std::wstring commandLine = L"\"" + exePath + L"\"";
  if (::CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                       workFolder.c_str(), &startup, &info)) {
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
  }
}

ChildProcess::~ChildProcess() {
  if (process_ == nullptr) return;
  if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_, 99);
  ::CloseHandle(process_);
}

bool ChildProcess::WaitFor(DWORD milliseconds) {
  return process_ != nullptr && ::WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

uint32_t ChildProcess::ExitCode() {
  DWORD code = 0;
  ::GetExitCodeProcess(process_, &code);
  return code;
}

namespace {

const wchar_t kCapturePrefix[] = L"kestrune-unit-log-";

std::wstring CaptureFile() {
  return TempFolder() + kCapturePrefix + std::to_wstring(::GetCurrentProcessId()) + L".txt";
}

// Files of processes that have ended can go; those still open by a running process stay.
void RemoveEarlierCaptures() {
  WIN32_FIND_DATAW data;
  const HANDLE find =
      ::FindFirstFileW((TempFolder() + kCapturePrefix + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    ::DeleteFileW((TempFolder() + data.cFileName).c_str());
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

}  // namespace

LogCapture::LogCapture() {
  if (!LoggingEnabled) {
    RemoveEarlierCaptures();
    LoggingEnabled = true;
    TheLogger().SetLogFile(CaptureFile());
    TheLogger().AppendLine(L"capture started");
  }
  start_ = ReadUtf16(CaptureFile()).size();
}

std::vector<std::wstring> LogCapture::Messages() const {
  std::vector<std::wstring> messages = LogMessages(ReadUtf16(CaptureFile()).substr(start_));
  if (!messages.empty() && messages.back().empty()) messages.pop_back();
  return messages;
}

bool RunningUnderWine() {
  return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool FolderGrantsEveryoneFullAccess(const std::wstring& folder) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  BYTE everyone[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(everyone);
  ::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size);
  int own = 0;
  bool everyoneFull = false;
  for (WORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!::GetAce(dacl, i, &ace) || (static_cast<ACE_HEADER*>(ace)->AceFlags & INHERITED_ACE)) {
      continue;
    }
    ++own;
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    // The system stores the generic right as the file rights it stands for.
    everyoneFull = allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
                   (allowed->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS &&
                   ::EqualSid(const_cast<DWORD*>(&allowed->SidStart), everyone);
  }
  ::LocalFree(descriptor);
  return own == 1 && everyoneFull;
}

std::vector<std::wstring> LogBodyMessages(const std::wstring& logText) {
  const size_t cpu = logText.find(L"\r\nCPU: ");
  const size_t body = cpu == std::wstring::npos ? cpu : logText.find(L"\r\n\r\n", cpu);
  if (body == std::wstring::npos) return {};
  return LogMessages(logText.substr(body + 4));
}

std::vector<std::wstring> LogMessages(const std::wstring& logText) {
  std::vector<std::wstring> messages;
  for (const std::wstring& line : SplitText(logText, L"\r\n")) {
    // "2021-03-04 09-05-03-" is 20 characters.
    const bool stamped = line.size() >= 20 && line[4] == L'-' && line[10] == L' ' &&
                         line[13] == L'-' && line[19] == L'-';
    messages.push_back(stamped ? line.substr(20) : line);
  }
  return messages;
}

}  // namespace testing
}  // namespace kestrune
