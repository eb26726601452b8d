#include "patience/files/RecordNotice.h"

#include <set>

#include "patience/files/Trace.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/ui/Dialogs.h"

namespace {

std::set<TRecordKind>& Told() {
  static std::set<TRecordKind> told;
  return told;
}

const char* WhatOf(TRecordKind kind) {
  switch (kind) {
    case TRecordKind::Statistics:
      return "The statistics and high scores could not be saved.";
    case TRecordKind::PlayerName:
      return "Your name could not be saved.";
    case TRecordKind::Scoring:
      return "The scoring values could not be saved.";
    case TRecordKind::Favourites:
      return "The favourites could not be saved.";
  }
  return "A record could not be saved.";
}

}  // namespace

void ReportRecordNotSaved(TRecordKind kind, const std::string& reason) {
  Trace(std::string(WhatOf(kind)) + " " + reason);
  if (!Told().insert(kind).second) return;
  ShowNotice(std::string(WhatOf(kind)) + "\n\n" + reason + "\n\nPlay goes on; this is told only once.",
             "Notification.");
}

bool SaveRecord(const TStringList& lines, const std::string& path, TRecordKind kind) {
  try {
    lines.SaveToFile(path);
    return true;
  } catch (const Exception& e) {
    ReportRecordNotSaved(kind, e.Message());
    return false;
  }
}

void ResetRecordNoticesForTesting() {
  Told().clear();
}
