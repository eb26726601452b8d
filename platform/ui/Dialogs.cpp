#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/ui/Application.h"

namespace {

TMessageHook& Hook() {
  static TMessageHook hook;
  return hook;
}

int& Beeps() {
  static int beeps = 0;
  return beeps;
}

QMessageBox::Icon IconOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return QMessageBox::Warning;
    case mtError:
      return QMessageBox::Critical;
    case mtInformation:
      return QMessageBox::Information;
    case mtConfirmation:
      return QMessageBox::Question;
    default:
      return QMessageBox::NoIcon;
  }
}

// The answer of a box closed without a button: its Cancel, else its No.
int CancelAnswer(TMsgDlgButtons buttons) {
  if (buttons & mbCancel) return mrCancel;
  if (buttons & mbNo) return mrNo;
  return mrNone;
}

int Ask(const TMessageRequest& r) {
  if (Hook()) return Hook()(r);
  // The program is ending: nobody is there to answer.
  if (!Application().Asking()) return CancelAnswer(r.Buttons);
  QMessageBox box(IconOf(r.Type), QString::fromStdString(r.Caption), QString::fromStdString(r.Text),
                  QMessageBox::NoButton, QApplication::activeWindow());
  struct TButton {
    TMsgDlgButtons Flag;
    const char* Text;
    QMessageBox::ButtonRole Role;
    int Result;
  };
  static const TButton buttons[] = {
      {mbYes, "&Yes", QMessageBox::YesRole, mrYes},
      {mbNo, "&No", QMessageBox::NoRole, mrNo},
      {mbOK, "OK", QMessageBox::AcceptRole, mrOk},
      {mbCancel, "Cancel", QMessageBox::RejectRole, mrCancel},
      {mbAbort, "&Abort", QMessageBox::RejectRole, mrAbort},
      {mbRetry, "&Retry", QMessageBox::AcceptRole, mrRetry},
      {mbIgnore, "&Ignore", QMessageBox::AcceptRole, mrIgnore},
  };
  std::vector<std::pair<QAbstractButton*, int>> made;
  for (const TButton& b : buttons)
    if (r.Buttons & b.Flag) made.emplace_back(box.addButton(QString::fromUtf8(b.Text), b.Role), b.Result);
  if (made.empty()) made.emplace_back(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), mrOk);
  box.setDefaultButton(qobject_cast<QPushButton*>(made.front().first));
  box.exec();
  for (const auto& [button, result] : made)
    if (box.clickedButton() == button) return result;
  // Closed by the window's close box or Escape: the cancel-like answer when there is one.
  return CancelAnswer(r.Buttons);
}

}  // namespace

std::string MessageDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    default:
      return Application().Title;
  }
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  return Ask({text, MessageDlgCaption(type), type, buttons});
}

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  TMessageRequest r{text, caption, mtCustom, mbOK};
  switch (flags & 0xF0) {
    case MB_ICONERROR:
      r.Type = mtError;
      break;
    case MB_ICONQUESTION:
      r.Type = mtConfirmation;
      break;
    case MB_ICONWARNING:
      r.Type = mtWarning;
      break;
    case MB_ICONINFORMATION:
      r.Type = mtInformation;
      break;
  }
  switch (flags & 0xF) {
    case MB_OKCANCEL:
      r.Buttons = mbOK | mbCancel;
      break;
    case MB_YESNOCANCEL:
      r.Buttons = mbYes | mbNo | mbCancel;
      break;
    case MB_YESNO:
      r.Buttons = mbYes | mbNo;
      break;
  }
  switch (Ask(r)) {
    case mrYes:
      return IDYES;
    case mrNo:
      return IDNO;
    case mrCancel:
    case mrNone:
      return (r.Buttons & mbCancel) ? IDCANCEL : (r.Buttons & mbNo) ? IDNO : IDOK;
    default:
      return IDOK;
  }
}

void ShowMessage(const std::string& text) {
  Ask({text, Application().Title, mtCustom, mbOK});
}

void ShowNotice(const std::string& text, const std::string& caption) {
  const TMessageRequest r{text, caption, mtWarning, mbOK};
  if (Hook()) {
    Hook()(r);
    return;
  }
  auto* box = new QMessageBox(IconOf(r.Type), QString::fromStdString(caption), QString::fromStdString(text),
                              QMessageBox::Ok, QApplication::activeWindow());
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

void Beep() {
  if (Hook()) {
    ++Beeps();
    return;
  }
  QApplication::beep();
}

TMessageHook SetMessageHook(TMessageHook hook) {
  TMessageHook old = std::move(Hook());
  Hook() = std::move(hook);
  Beeps() = 0;
  return old;
}

bool MessageHookSet() {
  return bool(Hook());
}

int BeepCount() {
  return Beeps();
}
