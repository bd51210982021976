#include "tests/transfer_test_support.h"

#include <wininet.h>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace kestrune {
namespace testing {

namespace {

// The fixture's folder as this process sees it: Wine shows the Linux root as drive Z:.
std::wstring ServersFolder() {
  std::wstring folder = L"Z:" KESTRUNE_TRANSFER_SERVERS;
  for (wchar_t& c : folder) {
    if (c == L'/') c = L'\\';
  }
  return folder;
}

// The body of a GET on `url`, synchronously; empty when it fails.
std::string Fetch(const std::wstring& url) {
  std::string body;
  const HINTERNET internet =
      ::InternetOpenW(L"Kestrune tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (internet == nullptr) return body;
  const HINTERNET request = ::InternetOpenUrlW(
      internet, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  if (request != nullptr) {
    char buffer[4096];
    DWORD read = 0;
    while (::InternetReadFile(request, buffer, sizeof(buffer), &read) && read > 0) {
      body.append(buffer, read);
    }
    ::InternetCloseHandle(request);
  }
  ::InternetCloseHandle(internet);
  return body;
}

}  // namespace

uint16_t ServerPort(const std::wstring& name) {
  const std::vector<unsigned char> bytes = ReadBytes(ServersFolder() + L"\\" + name + L".port");
  const int port = atoi(std::string(bytes.begin(), bytes.end()).c_str());
  EXPECT_GT(port, 0) << "no port file for " << std::string(name.begin(), name.end())
                     << ": are the transfer servers running (ctest fixture transfer_servers)?";
  return static_cast<uint16_t>(port);
}

std::wstring UniqueToken() {
  static LONG counter = 0;
  return L"p" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetTickCount()) + L"-" +
         std::to_wstring(::InterlockedIncrement(&counter));
}

std::wstring FaultUrl(const std::wstring& token, const std::wstring& query) {
  return L"http://127.0.0.1:" + std::to_wstring(ServerPort(L"fault")) + L"/t/" + token +
         L"/file.bin?" + query;
}

std::wstring NginxUrl(const std::wstring& name) {
  return L"http://127.0.0.1:" + std::to_wstring(ServerPort(L"nginx")) + L"/" + name;
}

std::wstring FtpUrl(const std::wstring& server, const std::wstring& name,
                    const std::wstring& credentials) {
  return L"ftp://" + (credentials.empty() ? L"" : credentials + L"@") + L"127.0.0.1:" +
         std::to_wstring(ServerPort(server)) + L"/" + name;
}

int FaultRequestCount(const std::wstring& token) {
  const std::string body = Fetch(L"http://127.0.0.1:" + std::to_wstring(ServerPort(L"fault")) +
                                 L"/count/" + token);
  return atoi(body.c_str());
}

std::vector<std::string> FaultRanges(const std::wstring& token) {
  const std::string body = Fetch(L"http://127.0.0.1:" + std::to_wstring(ServerPort(L"fault")) +
                                 L"/log/" + token);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = body.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(body.substr(start, end - start));
  }
  return lines;
}

std::vector<unsigned char> PatternBytes(size_t from, size_t count) {
  std::vector<unsigned char> bytes(count);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t position = static_cast<uint32_t>(from + i);
    bytes[i] = static_cast<unsigned char>((position * 2654435761u) >> 13);
  }
  return bytes;
}

void RecordingObserver::BeginTransfer(int kind, uint32_t totalBytes, const wchar_t* targetPath) {
  EXPECT_EQ(kind, kTransferKind);
  beginTotals.push_back(totalBytes);
  beginTargets.push_back(targetPath == nullptr ? L"(null)" : targetPath);
}

void RecordingObserver::Completed(int kind, uint32_t code) {
  EXPECT_EQ(kind, kTransferKind);
  EXPECT_EQ(code, 0u);
  ++completedTransfers;
}

void RecordingObserver::Progress(uint32_t bytes) {
  ++progressCalls;
  progressTotal += bytes;
  if (pausing_) ++progressCallsWhilePaused;
}

bool RecordingObserver::IsCanceled() {
  return cancelNow_ || (cancelAfter_ != UINT64_MAX && progressTotal > cancelAfter_);
}

bool RecordingObserver::IsPaused() {
  if (pauseDone_ || pauseAfter_ == UINT64_MAX || progressTotal <= pauseAfter_) return false;
  if (!pausing_) {
    pausing_ = true;
    pauseStart_ = ::GetTickCount();
  }
  if (::GetTickCount() - pauseStart_ < pauseLength_) return true;
  pausing_ = false;
  pauseDone_ = true;
  pausedFor = ::GetTickCount() - pauseStart_;
  return false;
}

int RecordingObserver::ReportError(const wchar_t* text, uint32_t code, int) {
  errors.push_back({text == nullptr ? L"(null)" : text, code});
  if (errors.size() <= answers_.size()) return answers_[errors.size() - 1];
  return static_cast<int>(code);
}

}  // namespace testing
}  // namespace kestrune
