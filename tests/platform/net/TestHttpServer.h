#pragma once
// A tiny HTTP server for the tests, on 127.0.0.1 at a port of the system's choosing. It serves the
// routes it is given, one connection at a time, and stops when it goes (or after two minutes at
// the latest, whatever the test does).

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TTestHttpServer {
 public:
  enum TMode {
    Normal,
    Truncated,  // says the whole length, sends half the body and closes
    Stall,      // sends the headers and the first bytes, then nothing more
    Slow,       // sends the body in pieces of ChunkBytes with DelayMs between them
    Endless,    // says no length and sends the body over and over until the client goes
  };
  struct TRoute {
    TRoute(int status = 200, std::string body = "", TMode mode = Normal, std::string location = "",
           int chunkBytes = 1024, int delayMs = 20)
        : Status(status),
          Body(std::move(body)),
          Mode(mode),
          Location(std::move(location)),
          ChunkBytes(chunkBytes),
          DelayMs(delayMs) {}
    int Status;
    std::string Body;
    TMode Mode;
    std::string Location;  // for a redirect
    int ChunkBytes;
    int DelayMs;
  };

  TTestHttpServer();
  ~TTestHttpServer();
  TTestHttpServer(const TTestHttpServer&) = delete;
  TTestHttpServer& operator=(const TTestHttpServer&) = delete;

  void Set(const std::string& path, TRoute route);
  // "http://127.0.0.1:<port>"
  std::string Base() const;
  int Port() const { return FPort; }
  // The paths asked for, in order (decoded as sent).
  std::vector<std::string> Requests() const;
  // The User-Agent of the last request.
  std::string LastAgent() const;

 private:
  void Run();
  void Serve(int socket);

  int FListen = -1;
  int FPort = 0;
  std::atomic<bool> FStop{false};
  mutable std::mutex FLock;
  std::map<std::string, TRoute> FRoutes;
  std::vector<std::string> FRequests;
  std::string FAgent;
  std::thread FThread;
};
