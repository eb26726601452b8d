#include "patience/files/UpdatePart.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>

#include "platform/core/Files.h"
#include "platform/core/StringList.h"

namespace {

// What tells one file from another that later took its name: device and inode, and the birth
// time where the file system keeps one (0 where it does not).
struct TIdentity {
  uint64_t Device = 0, Inode = 0, Born = 0;
  bool operator==(const TIdentity& o) const {
    return Device == o.Device && Inode == o.Inode && (Born == 0 || o.Born == 0 || Born == o.Born);
  }
};

std::optional<TIdentity> IdentityOf(int fd) {
  struct statx st {};
  if (::statx(fd, "", AT_EMPTY_PATH, STATX_INO | STATX_TYPE | STATX_BTIME, &st) != 0 || !S_ISREG(st.stx_mode))
    return std::nullopt;
  TIdentity id;
  id.Device = uint64_t(st.stx_dev_major) << 32 | st.stx_dev_minor;
  id.Inode = st.stx_ino;
  if (st.stx_mask & STATX_BTIME) id.Born = uint64_t(st.stx_btime.tv_sec) * 1000000000u + st.stx_btime.tv_nsec;
  return id;
}

std::optional<uint64_t> Number(const std::string& s) {
  uint64_t v = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

// The record's file and what it was, when the record is whole.
std::optional<std::pair<std::string, TIdentity>> ReadRecord(const std::string& record) {
  TStringList lines;
  if (!lines.TryLoadFromFile(record) || lines.Count() != 4 || lines[0].empty()) return std::nullopt;
  const std::optional<uint64_t> device = Number(lines[1]), inode = Number(lines[2]), born = Number(lines[3]);
  if (!device || !inode || !born) return std::nullopt;
  return std::make_pair(lines[0], TIdentity{*device, *inode, *born});
}

}  // namespace

bool RecordUpdatePart(const std::string& dataFolder, const std::string& path, int fd) {
  const std::optional<TIdentity> id = IdentityOf(fd);
  if (dataFolder.empty() || !id) return false;
  const TStringList lines{path, std::to_string(id->Device), std::to_string(id->Inode),
                          std::to_string(id->Born)};
  return lines.TrySaveToFile(PathJoin(dataFolder, kUpdatePartRecord));
}

void ForgetUpdatePart(const std::string& dataFolder) {
  if (dataFolder.empty()) return;
  const std::string record = PathJoin(dataFolder, kUpdatePartRecord);
  if (FileExists(record)) DeleteFile(record);
}

bool RemoveUpdatePartLeftover(const std::string& dataFolder) {
  if (dataFolder.empty()) return false;
  const std::string record = PathJoin(dataFolder, kUpdatePartRecord);
  if (!FileExists(record)) return false;
  bool removed = false;
  if (const auto part = ReadRecord(record)) {
    // Not through a link, and without waiting for a FIFO's writer; then the very file, unlocked.
    const int fd = ::open(part->first.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
      const std::optional<TIdentity> id = IdentityOf(fd);
      if (id && *id == part->second) {
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
          ::close(fd);
          return false;  // a download under way holds it, and the record is its own
        }
        removed = ::unlink(part->first.c_str()) == 0;
      }
      ::close(fd);
    }
  }
  DeleteFile(record);
  return removed;
}
