#pragma once
// TForm3: the maker's borderless progress window, shown while a picture is resampled. It stays on
// top, centred on the main window, and holds one gauge that fills it. While it shows, repaints go
// on but clicks and keys wait, so nothing starts a second composition in the middle of one.

#include <QWidget>

#include "deckwright/Resample.h"

class QProgressBar;

class TForm3 : public QWidget, public TResampleProgress {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* owner = nullptr);

  QProgressBar* ProgressGauge = nullptr;
  int Progress() const;
  int MaxValue() const;
  // Lets pending repaints happen (input stays queued).
  void PumpMessages();
  // Times shown so far (tests).
  int ShowCount = 0;

  // TResampleProgress: shown centred on the owner, gauge 0 of max; advanced; hidden.
  void Begin(int max) override;
  void Advance(int by) override;
  void End() override;

 private:
  QWidget* FOwner;
};
