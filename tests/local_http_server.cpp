#include "tests/local_http_server.h"

#include <ws2tcpip.h>

#include <cstddef>
#include <cstdlib>

namespace kestrune {
namespace testing {
namespace {

// Reads until the end of the request headers (a GET has no body).
std::string ReadRequest(SOCKET connection) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
    const int received = ::recv(connection, buffer, sizeof(buffer), 0);
    if (received <= 0) break;
    request.append(buffer, static_cast<size_t>(received));
  }
  return request;
}

void SendAll(SOCKET connection, const char* data, size_t size) {
  while (size > 0) {
    const int sent = ::send(connection, data, static_cast<int>(size), 0);
    if (sent <= 0) return;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
}

// The first byte asked for by "Range: bytes=N-"; 0 without such a header.
size_t RangeStart(const std::string& request) {
  const std::string header = "\r\nRange: bytes=";
  const size_t at = request.find(header);
  if (at == std::string::npos) return 0;
  return static_cast<size_t>(std::strtoul(request.c_str() + at + header.size(), nullptr, 10));
}

}  // namespace

LocalHttpServer::LocalHttpServer() {
  WSADATA data;
  if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener_ == INVALID_SOCKET) return;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof(address);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(listener_, 8) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return;
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { AnswerConnections(); });
}

LocalHttpServer::~LocalHttpServer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ != INVALID_SOCKET) ::closesocket(listener_);
  ::WSACleanup();
}

std::wstring LocalHttpServer::Url(const std::wstring& path) const {
  return L"http://127.0.0.1:" + std::to_wstring(port_) + path;
}

void LocalHttpServer::Serve(const std::string& path, const std::vector<unsigned char>& body,
                            bool announceSize) {
  std::lock_guard<std::mutex> hold(lock_);
  Resource& resource = resources_[path];
  resource.body = body;
  resource.announceSize = announceSize;
}

int LocalHttpServer::RequestCount(const std::string& path) {
  std::lock_guard<std::mutex> hold(lock_);
  const auto found = resources_.find(path);
  return found == resources_.end() ? 0 : found->second.requests;
}

// Polls the listener so that the destructor's stop request is seen within 50 ms.
void LocalHttpServer::AnswerConnections() {
  while (!stopping_) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval wait = {0, 50000};
    if (::select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
    const SOCKET connection = ::accept(listener_, nullptr, nullptr);
    if (connection == INVALID_SOCKET) continue;
    Answer(connection);
    ::closesocket(connection);
  }
}

void LocalHttpServer::Answer(SOCKET connection) {
  std::vector<unsigned char> body;
  const std::string head = Response(ReadRequest(connection), body);
  SendAll(connection, head.data(), head.size());
  SendAll(connection, reinterpret_cast<const char*>(body.data()), body.size());
  ::shutdown(connection, SD_SEND);
}

// The status line and headers for `request`; `body` receives the bytes to send after them.
std::string LocalHttpServer::Response(const std::string& request,
                                      std::vector<unsigned char>& body) {
  const size_t pathStart = request.find(' ');
  const size_t pathEnd = request.find(' ', pathStart + 1);
  const std::string path = pathStart == std::string::npos || pathEnd == std::string::npos
                               ? std::string()
                               : request.substr(pathStart + 1, pathEnd - pathStart - 1);
  std::lock_guard<std::mutex> hold(lock_);
  const auto found = resources_.find(path);
  if (request.compare(0, 4, "GET ") != 0 || found == resources_.end()) {
    return "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  }
  Resource& resource = found->second;
  ++resource.requests;
  const size_t size = resource.body.size();
  const size_t start = RangeStart(request);
  if (start > 0 && start >= size) {
    return "HTTP/1.0 416 Range Not Satisfiable\r\nContent-Range: bytes */" +
           std::to_string(size) + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  }
  std::string head;
  if (start > 0) {
    head = "HTTP/1.0 206 Partial Content\r\nContent-Range: bytes " + std::to_string(start) + "-" +
           std::to_string(size - 1) + "/" + std::to_string(size) + "\r\n";
  } else {
    head = "HTTP/1.0 200 OK\r\n";
  }
  body.assign(resource.body.begin() + static_cast<std::ptrdiff_t>(start), resource.body.end());
  if (resource.announceSize) head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  return head + "Content-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
}

}  // namespace testing
}  // namespace kestrune
