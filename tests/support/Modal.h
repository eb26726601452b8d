#pragma once
// Driving modal dialogs in tests: the action runs on the dialog as soon as it is shown (exec()
// returns when the action closes it).

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

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
