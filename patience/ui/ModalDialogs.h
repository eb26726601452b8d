#pragma once
// The game's own modal dialogs run through one call, so tests (and screenshots) can take each
// dialog as it opens, look at it, fill it in and close it with an answer instead of a player.

#include <QDialog>
#include <functional>

// Answers the dialog's result (QDialog::Accepted or Rejected).
using TModalHook = std::function<int(QDialog& dialog)>;

// Runs the dialog modally, or hands it to the hook when one is set.
int ExecModal(QDialog& dialog);
// Replaces the hook (an empty one brings exec back); returns the hook it replaced.
TModalHook SetModalHook(TModalHook hook);

class TScopedModalHook {
 public:
  explicit TScopedModalHook(TModalHook hook) : FOld(SetModalHook(std::move(hook))) {}
  ~TScopedModalHook() { SetModalHook(std::move(FOld)); }
  TScopedModalHook(const TScopedModalHook&) = delete;
  TScopedModalHook& operator=(const TScopedModalHook&) = delete;

 private:
  TModalHook FOld;
};
