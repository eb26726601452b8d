#pragma once
// One HTTP GET into a file, made to be run on a worker thread.
//
// The body goes to a part file made new beside the target ("<target>.part", or "<target>-2.part"
// and on when a file of that name is there, which stays as it is) and becomes the target only
// when the whole transfer succeeded: a final status of 200 (redirects are followed), no transfer
// error, no more than MaxBytes and, when ExpectedSize is given, exactly that many bytes (the
// transfer stops as soon as more arrive). After any failure or a cancel the part file is gone and
// a target that was there before is left as it was. An error status writes nothing, and nothing is asked for
// when the size that is expected is above MaxBytes. A transfer that makes no progress for StallMs, that
// brings fewer than MinBytesPerSecond on average over RateWindowMs, or that takes longer than TotalMs in all,
// is abandoned (the time paused does not count).

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

struct THttpRequest {
  std::string Url;
  std::string UserAgent = "Patience/2.51";
  int ConnectTimeoutMs = 15000;
  int StallMs = 30000;
  int TotalMs = -1;               // -1: no limit (pauses do not count)
  int64_t MinBytesPerSecond = 0;  // 0: no floor
  int RateWindowMs = 60000;
  int64_t MaxBytes = -1;      // -1: no limit
  int64_t ExpectedSize = -1;  // -1: not known
  // Whether the file may replace a target that is there when it is complete; when not, such a
  // target is kept and the transfer fails with FileError.
  bool Replace = true;
  // Set from another thread to stop the transfer; tested at least once a second.
  const std::atomic<bool>* Cancel = nullptr;
  // While set, the transfer waits (the stall clock stops meanwhile).
  const std::atomic<bool>* Pause = nullptr;
  // Called on the worker after each piece of the body with the bytes so far.
  std::function<void(int64_t)> Progress;
  // Called on the worker when the part file has been made, with its path and descriptor.
  std::function<void(const std::string& path, int fd)> PartCreated;
};

enum class THttpStatus {
  Ok,
  CannotConnect,  // no answer: refused, unresolved, or no response before the time-out
  BadStatus,      // the server answered with another status than 200
  TooLarge,       // more than MaxBytes (said or sent)
  WrongSize,      // fewer or more bytes than ExpectedSize, or the body broke off
  TimedOut,       // the transfer stalled, went too slowly or ran out of time
  Cancelled,
  FileError,  // the file could not be written
};

struct THttpResult {
  THttpStatus Status = THttpStatus::CannotConnect;
  long HttpCode = 0;
  int64_t Bytes = 0;
  std::string Error;  // what went wrong, for the trace
};

// Call once on the main thread before any worker starts (safe to call again).
void HttpGlobalInit();
THttpResult HttpGetToFile(const THttpRequest& request, const std::string& target);
// Percent-encodes everything but letters, digits and "-._~", for a name inside a URL.
std::string UrlEscape(const std::string& text);
