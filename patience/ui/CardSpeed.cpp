#include "patience/ui/CardSpeed.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "cardtable/Backdrop.h"
#include "cardtable/CardTable.h"
#include "cardtable/VistaFuncs.h"
#include "patience/ui/DialogBackground.h"
#include "patience/ui/MainForm.h"

namespace {

constexpr int kClientWidth = 304;
constexpr int kClientHeight = 452;
constexpr int kMaxMoveSpeed = 128;
constexpr int kMaxTurnSpeed = 32;
// The dialogs' gradient.

int LabelValue(const QLabel* label, int fallback) {
  bool ok = false;
  const int v = label->text().trimmed().toInt(&ok);
  return ok ? v : fallback;
}

}  // namespace

int StepMoveSpeed(int v, bool up) {
  if (up) {
    const int next = v >= 4 ? 2 * v : v + 1;
    return next <= kMaxMoveSpeed ? next : v;
  }
  const int next = v >= 8 ? v / 2 : v - 1;
  return next >= 1 ? next : v;
}

int StepTurnSpeed(int v, bool up) {
  if (up) {
    const int next = v >= 16 ? 2 * v : v + 1;
    return next <= kMaxTurnSpeed ? next : v;
  }
  const int next = v >= 32 ? v / 2 : v - 1;
  return next >= 1 ? next : v;
}

TCardMovement CardMovementOf(const TCardTable& t, int& parked) {
  TCardMovement m;
  if (t.TurnOverAnimationSpeed() != 0) {
    parked = t.TurnOverAnimationSpeed();
    m.FlipMode = t.TurnOverAnimationVertical ? fmVertical : fmHorizontal;
  } else {
    m.FlipMode = fmNoFlip;
  }
  m.MoveSpeed = t.CardSpeed();
  m.TurnSpeed = parked;
  m.TurnLift = t.TurnOverAnimationLift;
  m.LiftOffset = t.LiftOffset;
  m.Slowdown = t.SlowMoveRegion;
  m.FastDisplay = t.FastMovementMode;
  return m;
}

void ApplyCardMovement(TCardTable& t, const TCardMovement& m, int& parked) {
  t.SetCardSpeed(m.MoveSpeed);
  t.SetTurnOverAnimationSpeed(m.TurnSpeed);
  if (m.FlipMode == fmVertical) {
    t.TurnOverAnimationVertical = true;
  } else if (m.FlipMode == fmHorizontal) {
    t.TurnOverAnimationVertical = false;
  } else {
    parked = t.TurnOverAnimationSpeed();
    t.SetTurnOverAnimationSpeed(0);
  }
  t.TurnOverAnimationLift = m.TurnLift;
  t.LiftOffset = m.LiftOffset;
  t.SlowMoveRegion = m.Slowdown;
  t.FastMovementMode = m.FastDisplay;
}

// -----------------------------------------------------------------------------------------------
// The arrows

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  Up = new QToolButton(this);
  Up->setArrowType(Qt::UpArrow);
  Down = new QToolButton(this);
  Down->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {Up, Down}) {
    b->setFixedSize(22, 14);
    b->setAutoRepeat(true);
    column->addWidget(b);
  }
  connect(Up, &QToolButton::clicked, this, [this] { emit Clicked(true); });
  connect(Down, &QToolButton::clicked, this, [this] { emit Clicked(false); });
}

// -----------------------------------------------------------------------------------------------
// The dialog

TForm2::TForm2(QWidget* owner, const TCardMovement& m) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Card Movement Mode."));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  ApplySystemUiFont(this);

  auto row = [this](const char* caption, const char* hint, int top, QLabel*& name, TUpDown*& arrows,
                    QLabel*& value) {
    name = new QLabel(QString::fromUtf8(caption), this);
    name->setGeometry(24, top, 150, 28);
    arrows = new TUpDown(this);
    arrows->setGeometry(190, top, 22, 28);
    arrows->setToolTip(QString::fromUtf8(hint));
    value = new QLabel(this);
    value->setGeometry(224, top, 56, 28);
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
  };
  row("Movement Speed", "Card movement speed.", 12, Label1, UpDown1, Label3);
  row("Turnover Speed", "The speed at which cards are flipped.", 46, Label2, UpDown2, Label4);

  auto group = [this](const char* caption, const char* hint, int top, QGroupBox*& box, QCheckBox*& check) {
    box = new QGroupBox(QString::fromUtf8(caption), this);
    box->setGeometry(0, top, kClientWidth, 48);
    box->setToolTip(QString::fromUtf8(hint));
    check = new QCheckBox(QStringLiteral("Enabled"), box);
    check->setGeometry(24, 20, 200, 22);
  };
  group("Fast Display Mode", "The fastest card display speed - can cause display artifacts.", 82, GroupBox4,
        CheckBox4);
  group("Movement Slowdown", "Cards slow down at the end of moves", 134, GroupBox3, CheckBox3);
  group("Lift Card Offset", "Lifts cards offset to the mouse", 186, GroupBox1, CheckBox1);
  group("TurnOver Lift Card Animation", "Turned over cards display a shadow", 238, GroupBox2, CheckBox2);

  RadioGroup1 = new QGroupBox(QStringLiteral("TurnOver Animation Mode"), this);
  RadioGroup1->setGeometry(0, 294, kClientWidth, 96);
  RadioGroup1->setToolTip(QStringLiteral("Cards are turned over with this animation"));
  RadioItems = new QButtonGroup(this);
  const char* items[3] = {"Vertical Flip", "Horizontal Flip", "No Flip"};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QRadioButton(QString::fromUtf8(items[i]), RadioGroup1);
    b->setGeometry(24, 20 + 24 * i, 200, 22);
    RadioItems->addButton(b, i);
  }

  OkButton = new QPushButton(QStringLiteral("OK"), this);
  OkButton->setGeometry(64, 410, 80, 28);
  OkButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  CancelButton->setGeometry(160, 410, 80, 28);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(UpDown1, &TUpDown::Clicked, this, &TForm2::UpDown1Click);
  connect(UpDown2, &TUpDown::Clicked, this, &TForm2::UpDown2Click);

  // Light frames with their titles set in from the edge, over the gradient.
  setStyleSheet(
      QStringLiteral("QGroupBox { border: 1px solid rgba(255, 255, 255, 140); border-radius: 3px;"
                     " margin-top: 16px; }"
                     " QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 3px; }"));
  // The labels and boxes take the form's font.
  for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, GroupBox1, GroupBox2, GroupBox3,
                                                    GroupBox4, RadioGroup1}) {
    QFont f = w->font();
    f.setFamily(font().family());
    w->setFont(f);
  }

  Label3->setText(QString::number(m.MoveSpeed));
  Label4->setText(QString::number(m.TurnSpeed == 0 ? 2 : m.TurnSpeed));
  if (QAbstractButton* b = RadioItems->button(std::clamp(m.FlipMode, 0, 2))) b->setChecked(true);
  CheckBox2->setChecked(m.TurnLift);
  CheckBox1->setChecked(m.LiftOffset);
  CheckBox3->setChecked(m.Slowdown);
  CheckBox4->setChecked(m.FastDisplay);

  FBackground = DialogBackground(kClientWidth, kClientHeight);
}

void TForm2::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.drawImage(0, 0, FBackground.ToQImage());
}

void TForm2::UpDown1Click(bool up) {
  Label3->setText(QString::number(StepMoveSpeed(LabelValue(Label3, 32), up)));
}

void TForm2::UpDown2Click(bool up) {
  Label4->setText(QString::number(StepTurnSpeed(LabelValue(Label4, 8), up)));
}

TCardMovement TForm2::Result() const {
  TCardMovement m;
  m.MoveSpeed = LabelValue(Label3, 32);
  m.TurnSpeed = LabelValue(Label4, 8);
  m.FlipMode = RadioItems->checkedId() < 0 ? fmNoFlip : RadioItems->checkedId();
  m.TurnLift = CheckBox2->isChecked();
  m.LiftOffset = CheckBox1->isChecked();
  m.Slowdown = CheckBox3->isChecked();
  m.FastDisplay = CheckBox4->isChecked();
  return m;
}

// -----------------------------------------------------------------------------------------------
// The command

void TForm1::SetCardSpeed1Click() {
  if (!CardTable1) return;
  TCardTable& t = *CardTable1;
  const TCardMovement shown = CardMovementOf(t, ParkedTurnOverSpeed);
  TForm2 form(this, shown);
  if (form.exec() != QDialog::Accepted) return;
  ApplyCardMovement(t, form.Result(), ParkedTurnOverSpeed);
}
