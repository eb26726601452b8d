#pragma once
// The game's about box: a small black window in which the credits scroll up over the starfield,
// the stars drawn as trails (each flight streak shows until the credits next move), and an OK
// button. Modal; the credits start again each time they have scrolled out.

#include <QDialog>
#include <string>

#include "platform/graphics/Bitmap.h"

class QPushButton;
class QTimer;
class TddgMarquee;

class TAboutBox : public QDialog {
 public:
  TAboutBox(QWidget* owner, const std::string& caption, const std::string& versionText, int programId);
  ~TAboutBox() override;

  static constexpr int kClientWidth = 278;
  static constexpr int kClientHeight = 299;

  TddgMarquee* Marquee = nullptr;
  QPushButton* BitBtn1 = nullptr;
  // What the stars have drawn since the credits last moved.
  TBitmap Stars;

  // What the box's timer does: a frame of the starfield's trails for every millisecond since the
  // last tick (the trails of the credits' last 50 ms show), and the credits started again when
  // they have stopped.
  void AboutBoxIdle();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTimer* FTimer = nullptr;
  uint64_t FCleared = 0;
  uint64_t FLastFrame = 0;
};

// The credit lines of the box.
std::vector<std::string> AboutLines(const std::string& versionText, int programId);

// Shows the about box modally over owner and returns when it is closed; the starfield is left
// set up for the box (its owner starts its own again).
void ShowAboutBox(QWidget* owner, const std::string& Caption, const std::string& VersionText, int ProgramId);
