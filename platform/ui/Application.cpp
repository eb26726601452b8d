#include "platform/ui/Application.h"

#include <fcntl.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace {

// The signal handler only writes a byte into this pipe; the toolkit watches its other end.
int gEndPipe[2] = {-1, -1};

void OnEndSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = write(gEndPipe[1], &byte, 1);
  errno = saved;
}

std::optional<TPoint>& TestScreen() {
  static std::optional<TPoint> size;
  return size;
}

}  // namespace

TApplication& Application() {
  static TApplication app;
  return app;
}

void TApplication::Terminate() {
  FTerminated = true;
  // Effective only while the loop runs; before it main() sees the flag. The loop ends whatever
  // the windows say (a quit would ask them to close first, and they may refuse).
  QCoreApplication::exit(0);
}

void TApplication::OnEndRequest(std::function<void()> handler) {
  static std::function<void()> current;
  current = std::move(handler);
  if (gEndPipe[0] >= 0 || !QCoreApplication::instance()) return;
  if (pipe2(gEndPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(gEndPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char bytes[16];
    while (read(gEndPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (current) current();
  });
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

void TApplication::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::ProcessPaintMessages() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

TPoint ScreenSize() {
  if (TestScreen()) return *TestScreen();
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return TPoint();
  const QSize s = screen->size();
  return TPoint(s.width(), s.height());
}

void SetScreenSizeForTesting(std::optional<TPoint> size) {
  TestScreen() = size;
}
