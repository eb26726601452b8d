#pragma once
// The programs' default handler of failures. An exception that leaves the handling of an event (a
// click, a key, a menu command, a timer, a paint) ends there: the player is shown its message in
// an error box captioned with the program's title, and the event loop goes on with the window as
// the failed command left it.
//
// Both programs run on TGuiApplication, which hands every event to the toolkit under this handler.
// The toolkit's own code is built without exceptions, so an exception that has to cross it on its
// way to the handler skips the clean-up of the toolkit's frames in between (a few bytes lost, a
// guard of the toolkit's left set); our own widgets run the commands behind their events through
// RunHandled instead, so that their exceptions stop before the toolkit's code.
//
//   TGuiApplication app(argc, argv);
//   ...
//   connect(action, &QAction::triggered, [item] { RunHandled([item] { item->Click(); }); });

#include <QApplication>
#include <string>

class TGuiApplication : public QApplication {
  Q_OBJECT
 public:
  TGuiApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Tells the player what failed: an error box with the message, shown once the event in hand is
  // done (never in the middle of a paint). While such a box is waiting or open, further failures
  // are only written to the standard error, so that a failure repeated at every paint cannot pile
  // up boxes. The tests' application checks the failures instead.
  virtual void ReportFailure(const std::string& message);

 private:
  bool FReportPending = false;
};

// The default handler for the exception being handled (call it inside a catch block).
void HandleException();

// Runs action; an exception that leaves it goes to the default handler and no further. True when
// the action ended normally.
template <class F>
bool RunHandled(F&& action) {
  try {
    action();
    return true;
  } catch (...) {
    HandleException();
    return false;
  }
}
