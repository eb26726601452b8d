#include "deckwright/ProgressForm.h"

#include <QProgressBar>
#include <algorithm>

#include "platform/ui/Application.h"

TForm3::TForm3(QWidget* owner)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), FOwner(owner) {
  setObjectName("Form3");
  setFixedSize(173, 61);
  ProgressGauge = new QProgressBar(this);
  ProgressGauge->setGeometry(0, 0, 173, 61);
  ProgressGauge->setRange(0, 100);
  ProgressGauge->setValue(0);
  ProgressGauge->setTextVisible(true);
}

int TForm3::Progress() const {
  return ProgressGauge->value();
}

int TForm3::MaxValue() const {
  return ProgressGauge->maximum();
}

void TForm3::PumpMessages() {
  Application().ProcessPaintMessages();
}

void TForm3::Begin(int max) {
  if (FOwner) {
    const QRect r = FOwner->frameGeometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
  }
  ProgressGauge->setRange(0, std::max(1, max));
  ProgressGauge->setValue(0);
  show();
  raise();
  ++ShowCount;
  PumpMessages();
}

void TForm3::Advance(int by) {
  // The counted steps may pass the total by a little; the gauge stops at full.
  ProgressGauge->setValue(std::min(ProgressGauge->maximum(), ProgressGauge->value() + by));
  ProgressGauge->repaint();
  PumpMessages();
}

void TForm3::End() {
  hide();
}
