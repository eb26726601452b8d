#include "patience/files/Trace.h"

#include <QLocale>
#include <QTime>

#include <cctype>
#include "cardtable/SystemDirs.h"
#include "platform/core/Files.h"

std::unique_ptr<TStringList> TraceList;
int TraceDepth = 0;

namespace {

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  if (s.size() <= prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

}  // namespace

void Trace(const std::string& Msg) {
  if (!TraceList) return;
  if (StartsWithNoCase(Msg, "Start")) {
    ++TraceDepth;
    TraceList->Add(" ");
  }
  const std::string time = QLocale().toString(QTime::currentTime(), QLocale::LongFormat).toStdString();
  TraceList->Add(std::string(TraceDepth > 0 ? 3 * TraceDepth : 0, ' ') + Msg + " " + time);
  if (StartsWithNoCase(Msg, "Exit")) {
    --TraceDepth;
    TraceList->Add(" ");
  }
  if (TraceList->Count() > 0 && (*TraceList)[0] != kStartupTraceHeader)
    TraceList->TrySaveToFile(PathJoin(DesktopDir, "debug.txt"));
}
