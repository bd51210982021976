// The test server itself, read with plain synchronous WinINet: what the download tests rely on.
#include "tests/local_http_server.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include "platform/unique_handle.h"

namespace kestrune {
namespace testing {
namespace {

struct Answer {
  DWORD status = 0;
  bool sizeAnnounced = false;
  std::string body;
};

Answer Get(const std::wstring& url, const std::wstring& headers = L"") {
  Answer answer;
  const InternetHandle internet(
      ::InternetOpenW(L"test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  const InternetHandle request(::InternetOpenUrlW(
      internet.get(), url.c_str(), headers.empty() ? nullptr : headers.c_str(),
      static_cast<DWORD>(headers.size()), INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
      0));
  if (!request) return answer;
  DWORD size = sizeof(answer.status);
  ::HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                   &answer.status, &size, nullptr);
  DWORD length = 0;
  size = sizeof(length);
  answer.sizeAnnounced = ::HttpQueryInfoW(
      request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr);
  char buffer[4096];
  DWORD read = 0;
  while (::InternetReadFile(request.get(), buffer, sizeof(buffer), &read) && read > 0) {
    answer.body.append(buffer, read);
  }
  return answer;
}

TEST(LocalHttpServer, ServesFilesRangesAndNotFound) {
  LocalHttpServer server;
  ASSERT_TRUE(server.started());
  server.Serve("/a.exe", {'h', 'e', 'l', 'l', 'o'});
  server.Serve("/quiet.exe", {'x', 'y', 'z'}, false);

  const Answer whole = Get(server.Url(L"/a.exe"));
  EXPECT_EQ(whole.status, 200u);
  EXPECT_TRUE(whole.sizeAnnounced);
  EXPECT_EQ(whole.body, "hello");

  const Answer rest = Get(server.Url(L"/a.exe"), L"Range: bytes=2-\r\n");
  EXPECT_EQ(rest.status, 206u);
  EXPECT_EQ(rest.body, "llo");

  const Answer quiet = Get(server.Url(L"/quiet.exe"));
  EXPECT_EQ(quiet.status, 200u);
  EXPECT_FALSE(quiet.sizeAnnounced);
  EXPECT_EQ(quiet.body, "xyz");

  EXPECT_EQ(Get(server.Url(L"/missing.exe")).status, 404u);
  EXPECT_EQ(server.RequestCount("/a.exe"), 2);
  EXPECT_EQ(server.RequestCount("/missing.exe"), 0);
}

}  // namespace
}  // namespace testing
}  // namespace kestrune
