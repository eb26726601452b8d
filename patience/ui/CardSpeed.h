#pragma once
// TForm2 "Card Movement Mode.": the card table's animation settings, the movement speed and the
// turn-over speed on up-down arrows, the fast display mode, the slow-down at the end of moves, the
// lifted-card offset, the lifted turn-over and the turn-over direction. Options > Card Movement
// Mode fills it from the table and writes it back on OK (TForm1::SetCardSpeed1Click).

#include <QDialog>

#include "platform/graphics/Bitmap.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QButtonGroup;
class QToolButton;
class TCardTable;

// Turn-over direction of the dialog's radio group.
enum TFlipMode : int { fmVertical = 0, fmHorizontal = 1, fmNoFlip = 2 };

// What the dialog shows and answers.
struct TCardMovement {
  bool FastDisplay = false;  // FastMovementMode
  bool Slowdown = false;     // SlowMoveRegion
  bool LiftOffset = false;
  bool TurnLift = false;  // TurnOverAnimationLift
  int FlipMode = fmVertical;
  int TurnSpeed = 8;
  int MoveSpeed = 32;
  friend bool operator==(const TCardMovement&, const TCardMovement&) = default;
};

// The movement speed one arrow step on: 1, 2, 3, 4, 8, 16, 32, 64, 128 (the ends stay).
int StepMoveSpeed(int speed, bool up);
// The turn-over speed one arrow step on: 1 .. 16, 32 (the ends stay).
int StepTurnSpeed(int speed, bool up);
// The table's settings as the dialog shows them. A table that turns cards without animation shows
// "No Flip" with the parked speed; a table that animates parks its speed first.
TCardMovement CardMovementOf(const TCardTable& table, int& parkedTurnOverSpeed);
// The dialog's answer applied to the table; "No Flip" parks the speed and switches turning off.
void ApplyCardMovement(TCardTable& table, const TCardMovement& m, int& parkedTurnOverSpeed);

// Two stacked arrow buttons that step a value up or down.
class TUpDown : public QWidget {
  Q_OBJECT
 public:
  explicit TUpDown(QWidget* parent);
  QToolButton* Up = nullptr;
  QToolButton* Down = nullptr;
 signals:
  void Clicked(bool up);
};

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  TForm2(QWidget* owner, const TCardMovement& m);

  QLabel* Label1 = nullptr;  // "Movement Speed"
  QLabel* Label2 = nullptr;  // "Turnover Speed"
  QLabel* Label3 = nullptr;  // the movement speed
  QLabel* Label4 = nullptr;  // the turn-over speed
  TUpDown* UpDown1 = nullptr;
  TUpDown* UpDown2 = nullptr;
  QGroupBox* GroupBox1 = nullptr;  // "Lift Card Offset"
  QGroupBox* GroupBox2 = nullptr;  // "TurnOver Lift Card Animation"
  QGroupBox* GroupBox3 = nullptr;  // "Movement Slowdown"
  QGroupBox* GroupBox4 = nullptr;  // "Fast Display Mode"
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QCheckBox* CheckBox3 = nullptr;
  QCheckBox* CheckBox4 = nullptr;
  QGroupBox* RadioGroup1 = nullptr;  // "TurnOver Animation Mode"
  QButtonGroup* RadioItems = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;

  void UpDown1Click(bool up);
  void UpDown2Click(bool up);
  // The settings as the controls show them now.
  TCardMovement Result() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TBitmap FBackground;
};
