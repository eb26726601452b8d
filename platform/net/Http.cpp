#include "platform/net/Http.h"

#include <curl/curl.h>
#include <sys/file.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

using TClock = std::chrono::steady_clock;

struct TTransfer {
  const THttpRequest* Request = nullptr;
  CURL* Curl = nullptr;
  std::string Target, PartPath;
  std::FILE* File = nullptr;
  int64_t Bytes = 0;
  bool BadStatus = false;
  bool TooLarge = false;
  bool Oversized = false;  // more than the expected size
  bool FileError = false;
  bool Stalled = false;
  bool Cancelled = false;
  TClock::time_point LastProgress = TClock::now();
  TClock::time_point Deadline = TClock::time_point::max();
  // The rate floor's window: when it began and the bytes there were then.
  TClock::time_point WindowStart = TClock::now();
  int64_t WindowBytes = 0;
  curl_off_t LastNow = 0;
};

// The part file, made new: "<target>.part", or "<target>-2.part" and on when a file of that name
// is there (the player's, it may be), which stays as it is.
bool CreatePart(TTransfer& t) {
  const std::string& target = t.Target;
  for (int n = 1; n < 100; ++n) {
    const std::string path = n == 1 ? target + ".part" : target + "-" + std::to_string(n) + ".part";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    t.File = ::fdopen(fd, "wb");
    if (!t.File) {
      ::close(fd);
      ::unlink(path.c_str());
      return false;
    }
    t.PartPath = path;
    // Held while the part file is written: a start-up that finds it unlocked knows it was left.
    ::flock(fd, LOCK_EX | LOCK_NB);
    if (t.Request->PartCreated) t.Request->PartCreated(path, fd);
    return true;
  }
  return false;
}

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<TTransfer*>(user);
  const size_t n = size * count;
  // Only the body of the final 200 answer is kept; an error page is never written.
  long code = 0;
  curl_easy_getinfo(t->Curl, CURLINFO_RESPONSE_CODE, &code);
  if (code != 200) {
    t->BadStatus = true;
    return 0;
  }
  if (t->Request->MaxBytes >= 0 && t->Bytes + int64_t(n) > t->Request->MaxBytes) {
    t->TooLarge = true;
    return 0;
  }
  // A server that sends on past the size it was to send is not let fill the disk.
  if (t->Request->ExpectedSize >= 0 && t->Bytes + int64_t(n) > t->Request->ExpectedSize) {
    t->Oversized = true;
    return 0;
  }
  if (!t->File && !CreatePart(*t)) {
    t->FileError = true;
    return 0;
  }
  if (n > 0 && std::fwrite(data, 1, n, t->File) != n) {
    t->FileError = true;
    return 0;
  }
  t->Bytes += int64_t(n);
  t->LastProgress = TClock::now();
  if (t->Request->Progress) t->Request->Progress(t->Bytes);
  return n;
}

int Progress(void* user, curl_off_t, curl_off_t now, curl_off_t, curl_off_t) {
  auto* t = static_cast<TTransfer*>(user);
  const THttpRequest& r = *t->Request;
  auto cancelled = [&] { return r.Cancel && r.Cancel->load(); };
  if (r.Pause && r.Pause->load()) {
    const TClock::time_point paused = TClock::now();
    while (r.Pause->load() && !cancelled()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    t->LastProgress = TClock::now();
    if (t->Deadline != TClock::time_point::max()) t->Deadline += t->LastProgress - paused;
    t->WindowStart += t->LastProgress - paused;
  }
  if (cancelled()) {
    t->Cancelled = true;
    return 1;
  }
  if (now != t->LastNow) {
    t->LastNow = now;
    t->LastProgress = TClock::now();
  }
  const TClock::time_point time = TClock::now();
  if (time - t->LastProgress > std::chrono::milliseconds(r.StallMs) || time > t->Deadline) {
    t->Stalled = true;
    return 1;
  }
  // A server that sends a byte now and then never stalls; over each window it must send enough.
  if (r.MinBytesPerSecond > 0 && time - t->WindowStart >= std::chrono::milliseconds(r.RateWindowMs)) {
    if ((t->Bytes - t->WindowBytes) * 1000 < r.MinBytesPerSecond * r.RateWindowMs) {
      t->Stalled = true;
      return 1;
    }
    t->WindowStart = time;
    t->WindowBytes = t->Bytes;
  }
  return 0;
}

// Renames the finished file into place; without replace, a target that is there stays.
bool MoveIntoPlace(const std::string& from, const std::string& to, bool replace) {
  if (replace) return std::rename(from.c_str(), to.c_str()) == 0;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  // A file system without the exclusive rename: test, then rename.
  if (errno != EINVAL && errno != ENOSYS) return false;
  struct stat st {};
  return ::lstat(to.c_str(), &st) != 0 && errno == ENOENT && std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

void HttpGlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string UrlEscape(const std::string& text) {
  static const char* const hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~') {
      out += char(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

THttpResult HttpGetToFile(const THttpRequest& request, const std::string& target) {
  HttpGlobalInit();
  THttpResult result;
  TTransfer t;
  t.Request = &request;
  t.Target = target;
  if (request.TotalMs >= 0) t.Deadline = TClock::now() + std::chrono::milliseconds(request.TotalMs);
  // More than may be had: not asked for at all.
  if (request.MaxBytes >= 0 && request.ExpectedSize > request.MaxBytes) {
    result.Status = THttpStatus::TooLarge;
    result.Error = "the size expected is above the limit";
    return result;
  }
  t.Curl = curl_easy_init();
  if (!t.Curl) {
    result.Error = "curl_easy_init failed";
    return result;
  }
  char error[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(t.Curl, CURLOPT_URL, request.Url.c_str());
  curl_easy_setopt(t.Curl, CURLOPT_USERAGENT, request.UserAgent.c_str());
  curl_easy_setopt(t.Curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(t.Curl, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(t.Curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(t.Curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(t.Curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(t.Curl, CURLOPT_CONNECTTIMEOUT_MS, long(request.ConnectTimeoutMs));
  curl_easy_setopt(t.Curl, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(t.Curl, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(t.Curl, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(t.Curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(t.Curl, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(t.Curl, CURLOPT_XFERINFODATA, &t);
  // A server that says beforehand that it sends more than may be had is refused before the body.
  if (request.MaxBytes >= 0)
    curl_easy_setopt(t.Curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(request.MaxBytes));
  const CURLcode rc = curl_easy_perform(t.Curl);
  curl_easy_getinfo(t.Curl, CURLINFO_RESPONSE_CODE, &result.HttpCode);
  curl_easy_cleanup(t.Curl);
  bool closed = true;
  if (t.File) closed = std::fclose(t.File) == 0;
  result.Bytes = t.Bytes;
  result.Error = error[0] ? error : curl_easy_strerror(rc);

  if (t.Cancelled)
    result.Status = THttpStatus::Cancelled;
  else if (t.Stalled)
    result.Status = THttpStatus::TimedOut;
  else if (t.BadStatus || (rc == CURLE_OK && result.HttpCode != 200))
    result.Status = THttpStatus::BadStatus;
  else if (t.TooLarge || rc == CURLE_FILESIZE_EXCEEDED)
    result.Status = THttpStatus::TooLarge;
  else if (t.Oversized)
    result.Status = THttpStatus::WrongSize;
  else if (t.FileError || !closed)
    result.Status = THttpStatus::FileError;
  else if (rc == CURLE_COULDNT_CONNECT || rc == CURLE_COULDNT_RESOLVE_HOST ||
           rc == CURLE_COULDNT_RESOLVE_PROXY || (rc == CURLE_OPERATION_TIMEDOUT && result.HttpCode == 0) ||
           (rc != CURLE_OK && result.HttpCode == 0))
    result.Status = THttpStatus::CannotConnect;
  else if (rc != CURLE_OK || (request.ExpectedSize >= 0 && t.Bytes != request.ExpectedSize))
    result.Status = THttpStatus::WrongSize;
  else
    result.Status = THttpStatus::Ok;

  if (result.Status == THttpStatus::Ok) {
    // An empty body still makes an (empty) file.
    if (!t.File && (!CreatePart(t) || std::fclose(t.File) != 0)) result.Status = THttpStatus::FileError;
    if (result.Status == THttpStatus::Ok && !MoveIntoPlace(t.PartPath, target, request.Replace)) {
      result.Status = THttpStatus::FileError;
      result.Error = "cannot rename " + t.PartPath;
    }
  }
  if (result.Status != THttpStatus::Ok && !t.PartPath.empty()) std::remove(t.PartPath.c_str());
  return result;
}
