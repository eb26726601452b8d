#include "patience/ui/ModalDialogs.h"

#include "platform/ui/Application.h"

namespace {

TModalHook& Hook() {
  static TModalHook hook;
  return hook;
}

}  // namespace

int ExecModal(QDialog& dialog) {
  if (Hook()) return Hook()(dialog);
  // The program is ending: a dialog is not shown, it is cancelled.
  if (!Application().Asking()) return QDialog::Rejected;
  return dialog.exec();
}

TModalHook SetModalHook(TModalHook hook) {
  TModalHook old = std::move(Hook());
  Hook() = std::move(hook);
  return old;
}
