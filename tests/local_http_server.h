#pragma once
// A small HTTP server on 127.0.0.1 inside the test process, on a port the system picks, so that
// downloads go through the real network path without depending on anything outside the test.
// It answers GET requests (with "Range: bytes=N-" when a transfer resumes) for the files given
// to Serve, 404 for anything else, one connection at a time, and closes every connection after
// its answer.
//
// Threads: the server answers on a thread of its own; Serve and RequestCount may be called from
// any thread.

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kestrune {
namespace testing {

class LocalHttpServer {
 public:
  // Starts listening; started() tells whether that worked.
  LocalHttpServer();
  // Stops answering and waits for the server's thread.
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  bool started() const { return port_ != 0; }
  uint16_t port() const { return port_; }

  // "http://127.0.0.1:<port>" followed by `path` (which starts with "/").
  std::wstring Url(const std::wstring& path) const;

  // Answers GET `path` with `body`. Without `announceSize` the answer has no Content-Length: the
  // body ends when the connection closes, so a transfer cannot know the size up front.
  void Serve(const std::string& path, const std::vector<unsigned char>& body,
             bool announceSize = true);

  // How many requests for `path` were answered so far.
  int RequestCount(const std::string& path);

 private:
  struct Resource {
    std::vector<unsigned char> body;
    bool announceSize = true;
    int requests = 0;
  };

  void AnswerConnections();
  void Answer(SOCKET connection);
  std::string Response(const std::string& request, std::vector<unsigned char>& body);

  SOCKET listener_ = INVALID_SOCKET;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::mutex lock_;
  std::map<std::string, Resource> resources_;
  std::thread thread_;
};

}  // namespace testing
}  // namespace kestrune
