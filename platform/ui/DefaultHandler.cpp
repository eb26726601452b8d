#include "platform/ui/DefaultHandler.h"

#include <cstdio>
#include <exception>

#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"

namespace {

std::string CurrentExceptionMessage() {
  try {
    throw;
  } catch (const std::exception& e) {
    const std::string message = e.what();
    return message.empty() ? "The command failed." : message;
  } catch (...) {
    return "The command failed for a reason it did not tell.";
  }
}

}  // namespace

TGuiApplication::TGuiApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TGuiApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    HandleException();
    return false;
  }
}

void TGuiApplication::ReportFailure(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", Application().Title.c_str(), message.c_str());
  if (FReportPending) return;
  FReportPending = true;
  // From the event loop, after the failed event has unwound.
  QMetaObject::invokeMethod(
      this,
      [this, message] {
        const struct TDone {
          bool& Pending;
          ~TDone() { Pending = false; }
        } done{FReportPending};
        MessageBox(message, Application().Title, MB_OK | MB_ICONERROR);
      },
      Qt::QueuedConnection);
}

void HandleException() {
  const std::string message = CurrentExceptionMessage();
  if (auto* app = qobject_cast<TGuiApplication*>(QCoreApplication::instance())) {
    app->ReportFailure(message);
    return;
  }
  // Without the programs' application (a tool of the tree) there is no loop to show a box from.
  std::fprintf(stderr, "%s\n", message.c_str());
}
