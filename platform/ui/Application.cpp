#include "platform/ui/Application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace {

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
  // Effective only while the loop runs; before it main() sees the flag.
  QCoreApplication::quit();
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
