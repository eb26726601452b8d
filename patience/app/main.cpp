// The game program: the special folders first, then the toolkit, the main window and the loop.
//
// PATIENCE_STARTUP_PROBE=1 in the environment makes the program report, on standard output, the
// monotonic time of the first paint of its window, of the first paint of its start screen and its
// resident memory a second after that, and then end (the start-up benchmark reads these lines).

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include "cardtable/DeckPathForm.h"
#include "cardtable/SystemDirs.h"
#include "patience/files/FileLocForm.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/StartScreen.h"
#include "platform/ui/Application.h"

namespace {

double MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Reports the first paint of the window and the first one that shows the start screen, then the
// memory once start-up has settled, then quits.
class TStartupProbe : public QObject {
 public:
  explicit TStartupProbe(TForm1& form) : FForm(form) { form.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &FForm && event->type() == QEvent::Paint) {
      if (!FPainted) {
        FPainted = true;
        // After this paint has reached the window.
        QTimer::singleShot(0, this, [] { std::printf("first-paint-monotonic-ms %.3f\n", MonotonicMs()); });
      }
      if (!FStartScreen && FForm.StartScreen && FForm.StartScreen->Showing()) {
        FStartScreen = true;
        QTimer::singleShot(0, this,
                           [] { std::printf("start-screen-paint-monotonic-ms %.3f\n", MonotonicMs()); });
        QTimer::singleShot(1000, this, [] {
          std::printf("resident-kb %ld\n", ResidentKb());
          std::fflush(stdout);
          QCoreApplication::exit(0);
        });
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TForm1& FForm;
  bool FPainted = false;
  bool FStartScreen = false;
};

}  // namespace

int main(int argc, char** argv) {
  InitSystemDirs();
  int rc = 0;
  {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Patience"));
    Application().Title = "Patience";
    InstallDeckPathDialog();
    InstallFileLocDialog();

    QStringList parameters = QApplication::arguments();
    if (!parameters.isEmpty()) parameters.removeFirst();
    TForm1 form(parameters);
    // The session's end (SIGTERM, SIGINT) ends the game as Quit would, without a question.
    Application().OnEndRequest([&form] { form.EndSession(); });
    std::unique_ptr<TStartupProbe> probe;
    if (qEnvironmentVariableIsSet("PATIENCE_STARTUP_PROBE")) probe = std::make_unique<TStartupProbe>(form);
    // A quit asked for during creation (a screen too small, a failed start) ends the program here:
    // the toolkit would ignore it before its loop runs.
    if (!Application().Terminated()) {
      form.show();
      rc = app.exec();
    }
  }
  DoneSystemDirs();
  return rc;
}
