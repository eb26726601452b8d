#include "tests/platform/net/TestHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace {

using TClock = std::chrono::steady_clock;

bool SendAll(int s, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::send(s, data.data() + done, data.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

const char* Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    default:
      return "Status";
  }
}

}  // namespace

TTestHttpServer::TTestHttpServer() {
  FListen = ::socket(AF_INET, SOCK_STREAM, 0);
  if (FListen < 0) throw std::runtime_error("socket");
  const int yes = 1;
  ::setsockopt(FListen, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  if (::bind(FListen, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(FListen, 8) != 0)
    throw std::runtime_error("bind");
  socklen_t len = sizeof a;
  ::getsockname(FListen, reinterpret_cast<sockaddr*>(&a), &len);
  FPort = ntohs(a.sin_port);
  FThread = std::thread([this] { Run(); });
}

TTestHttpServer::~TTestHttpServer() {
  FStop = true;
  if (FThread.joinable()) FThread.join();
  ::close(FListen);
}

void TTestHttpServer::Set(const std::string& path, TRoute route) {
  std::lock_guard<std::mutex> lock(FLock);
  FRoutes[path] = std::move(route);
}

std::string TTestHttpServer::Base() const {
  return "http://127.0.0.1:" + std::to_string(FPort);
}

std::vector<std::string> TTestHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(FLock);
  return FRequests;
}

std::string TTestHttpServer::LastAgent() const {
  std::lock_guard<std::mutex> lock(FLock);
  return FAgent;
}

void TTestHttpServer::Run() {
  const auto end = TClock::now() + std::chrono::minutes(2);
  while (!FStop && TClock::now() < end) {
    pollfd p{FListen, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    const int s = ::accept(FListen, nullptr, nullptr);
    if (s < 0) continue;
    Serve(s);
    ::close(s);
  }
}

void TTestHttpServer::Serve(int s) {
  // The request head, read until its blank line (bounded in size and time).
  std::string head;
  const auto until = TClock::now() + std::chrono::seconds(5);
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 16384 && TClock::now() < until &&
         !FStop) {
    pollfd p{s, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char buf[2048];
    const ssize_t n = ::recv(s, buf, sizeof buf, 0);
    if (n <= 0) return;
    head.append(buf, size_t(n));
  }
  const size_t sp1 = head.find(' '), sp2 = head.find(' ', sp1 + 1);
  if (sp1 == std::string::npos || sp2 == std::string::npos) return;
  const std::string path = head.substr(sp1 + 1, sp2 - sp1 - 1);
  TRoute route;
  bool known = false;
  {
    std::lock_guard<std::mutex> lock(FLock);
    FRequests.push_back(path);
    const size_t ua = head.find("User-Agent: ");
    FAgent = ua == std::string::npos ? "" : head.substr(ua + 12, head.find("\r\n", ua) - ua - 12);
    if (auto it = FRoutes.find(path); it != FRoutes.end()) {
      route = it->second;
      known = true;
    }
  }
  if (!known) route = TRoute{404, "<html><body>Not here</body></html>"};
  std::string reply = "HTTP/1.1 " + std::to_string(route.Status) + " " + Reason(route.Status) + "\r\n";
  if (!route.Location.empty()) reply += "Location: " + route.Location + "\r\n";
  if (route.Mode != Endless) reply += "Content-Length: " + std::to_string(route.Body.size()) + "\r\n";
  reply += "Connection: close\r\n\r\n";
  if (!SendAll(s, reply)) return;
  auto wait = [&](int ms) {
    const auto t = TClock::now() + std::chrono::milliseconds(ms);
    while (!FStop && TClock::now() < t) {
      pollfd p{s, POLLIN, 0};
      // The client has gone: nothing more to send.
      if (::poll(&p, 1, 10) > 0) {
        char c;
        if (::recv(s, &c, 1, MSG_PEEK) <= 0) return false;
      }
    }
    return !FStop;
  };
  switch (route.Mode) {
    case Normal:
      SendAll(s, route.Body);
      break;
    case Truncated:
      SendAll(s, route.Body.substr(0, route.Body.size() / 2));
      break;
    case Stall:
      SendAll(s, route.Body.substr(0, std::min<size_t>(route.Body.size(), 100)));
      wait(60000);
      break;
    case Slow:
      for (size_t at = 0; at < route.Body.size(); at += size_t(route.ChunkBytes)) {
        if (!SendAll(s, route.Body.substr(at, size_t(route.ChunkBytes)))) return;
        if (!wait(route.DelayMs)) return;
      }
      break;
    case Endless:
      while (!FStop && SendAll(s, route.Body)) {
      }
      break;
  }
}
