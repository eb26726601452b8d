// The update information file as the check judges it: any lines give one verdict; only a file of
// exactly 14 lines with its head line leads to a dialog; a newer version is offered only under a
// file name that stays a plain name on the desktop; and every failure has its message.

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "patience/ui/UpdateCheck.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TStringList lines;
  lines.SetText(std::string(reinterpret_cast<const char*>(data), size));
  const int id = size > 0 ? 2000 + data[0] : 2051;
  for (int fetch : {0, -1, -2, -3}) {
    const TUpdateJudgement j = JudgeUpdateInfo(fetch, &lines, id, "http://publisher.invalid");
    const bool dialog = j.Verdict == TUpdateVerdict::NewVersion || j.Verdict == TUpdateVerdict::Latest;
    FUZZ_CHECK(j.Message.empty() == (dialog || j.Verdict == TUpdateVerdict::Cancelled),
               "verdict %d, message \"%s\"", int(j.Verdict), j.Message.c_str());
    if (fetch != 0) FUZZ_CHECK(!dialog, "a failed fetch led to a dialog");
    if (!dialog && j.Verdict != TUpdateVerdict::FullVersion) continue;
    FUZZ_CHECK(lines.Count() == 14 && UpperCase(lines[0]) == "PATIENCE UPDATE INFO", "%d lines accepted",
               lines.Count());
    if (j.Verdict != TUpdateVerdict::NewVersion) continue;
    const std::optional<std::string> name = SafeUpdateFileName(lines[3]);
    FUZZ_CHECK(name.has_value(), "a new version without a plain file name");
    const std::string target = PathJoin("/home/player/Desktop", *name);
    FUZZ_CHECK(ExtractFileDir(target) == "/home/player/Desktop" && ExtractFileName(target) == *name,
               "\"%s\" leaves the desktop", name->c_str());
  }
  return 0;
}
