#include "patience/ui/ModalDialogs.h"

namespace {

TModalHook& Hook() {
  static TModalHook hook;
  return hook;
}

}  // namespace

int ExecModal(QDialog& dialog) {
  if (Hook()) return Hook()(dialog);
  return dialog.exec();
}

TModalHook SetModalHook(TModalHook hook) {
  TModalHook old = std::move(Hook());
  Hook() = std::move(hook);
  return old;
}
