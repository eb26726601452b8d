#pragma once
// Driving modal dialogs in tests: the action runs on the dialog as soon as it is shown (exec()
// returns when the action closes it), and the settings dialogs keep land in a folder of the test's
// own, never in the real home folder.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <memory>

#include "tests/support/TestUtil.h"

// Runs action on the next modal dialog that shows (polled from the event loop). A dialog that
// never shows leaves the action unrun.
inline void WhenModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer(qApp);
  auto shared = std::make_shared<std::function<void(QWidget*)>>(std::move(action));
  QObject::connect(timer, &QTimer::timeout, timer, [timer, shared] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    (*shared)(w);
  });
  timer->start(5);
}

// HOME and the XDG folders point at one temporary folder for the rest of the test program.
inline void IsolateHome() {
  static TTempDir home;
  setenv("HOME", home.Path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
}
