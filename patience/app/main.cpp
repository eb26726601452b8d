// The game program: the special folders first, then the toolkit (with the default handler that
// reports a failed command and goes on), the main window and the loop.
//
// PATIENCE_STARTUP_PROBE=1 in the environment makes the program report on standard output the
// monotonic time of the first paint of its window, and of the first paint that shows the start
// screen after each change of the window's size (with that size), so the last such line is the
// finished start screen at the window's final size. The program then goes on until it is ended
// (the start-up benchmark reads these lines, measures its memory and idle load, and ends it).

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <ctime>

#include "cardtable/DeckPathForm.h"
#include "cardtable/SystemDirs.h"
#include "patience/files/FileLocForm.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/StartScreen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/Application.h"
#include "platform/ui/DefaultHandler.h"

namespace {

double MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

void Report(const char* what, double ms, const QSize& size) {
  std::printf("%s %.3f %d %d\n", what, ms, size.width(), size.height());
  std::fflush(stdout);
}

// Reports the first paint in the window, and the first paint in it that shows the start screen
// after the window was shown or changed its size.
class TStartupProbe : public QObject {
 public:
  explicit TStartupProbe(TForm1& form) : FForm(form) { qApp->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &FForm && event->type() == QEvent::Resize) FSized = true;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::Paint || !widget || widget->window() != &FForm)
      return QObject::eventFilter(watched, event);
    const QSize size = FForm.size();
    if (!FPainted) {
      FPainted = true;
      // After this paint has reached the window.
      QTimer::singleShot(0, this, [size] { Report("first-paint-monotonic-ms", MonotonicMs(), size); });
    }
    if (FSized && FForm.StartScreen && FForm.StartScreen->Showing()) {
      FSized = false;
      QTimer::singleShot(0, this, [size] { Report("start-screen-paint-monotonic-ms", MonotonicMs(), size); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TForm1& FForm;
  bool FPainted = false;
  bool FSized = true;
};

}  // namespace

int main(int argc, char** argv) {
  GiveLargeBlocksBackToTheSystem();
  InitSystemDirs();
  int rc = 0;
  {
    TGuiApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Patience"));
    Application().Title = "Patience";
    InstallDeckPathDialog();
    InstallFileLocDialog();

    QStringList parameters = QApplication::arguments();
    if (!parameters.isEmpty()) parameters.removeFirst();
    TForm1Options options;
    options.SoundsInBackground = true;
    TForm1 form(parameters, options);
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
