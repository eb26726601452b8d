#include "patience/ui/AboutBox.h"

#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "cardtable/VistaFuncs.h"
#include "patience/files/DataFolder.h"
#include "patience/files/Trace.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/Marquee.h"
#include "patience/ui/Starfield.h"
#include "patience/ui/StartScreen.h"
#include "platform/core/Clock.h"
#include "platform/graphics/Raster.h"

namespace {

// The box is drawn about 60 times a second.
constexpr int kFrameMs = 16;
// The credits move every 50 ms, and each move shows only the stars drawn since the last.
constexpr int kCreditsStepMs = 50;

}  // namespace

std::vector<std::string> AboutLines(const std::string& versionText, int programId) {
  const std::string dots = "......";
  return {"Patience.",
          versionText,
          "",
          dots,
          "",
          "159 games of patience",
          "in one window",
          "",
          dots,
          "",
          "Cards, pictures, sounds",
          "and music are our own,",
          "drawn and made by the",
          "program's own generators",
          "",
          dots,
          "",
          "Deckwright makes card sets",
          "from your own pictures",
          "",
          dots,
          "",
          "Prog ID: " + std::to_string(programId),
          "",
          dots,
          "",
          "Thank you for playing."};
}

TAboutBox::TAboutBox(QWidget* owner, const std::string& caption, const std::string& versionText,
                     int programId)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  ApplySystemUiFont(this);
  setWindowTitle(QString::fromStdString(caption));
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);

  Marquee = new TddgMarquee(this);
  Marquee->setGeometry(0, 0, kClientWidth, kClientHeight);
  Marquee->Color = clBlack;
  Marquee->Transparent = true;
  Marquee->Font.Name = "Sans Serif";
  Marquee->Font.Size = 12;
  Marquee->Font.Color = clYellow;
  TStringList lines;
  for (const std::string& line : AboutLines(versionText, programId)) lines.Add(line);
  Marquee->SetItems(lines);

  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setGeometry(192, 264, 75, 25);
  BitBtn1->setDefault(true);
  QObject::connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

  Stars = TBitmap(kClientWidth, kClientHeight);
  Stars.Clear(clBlack);
  // Smaller stars than elsewhere.
  InitStarfield(kClientWidth, kClientHeight);
  TStarfield& field = Starfield();
  field.S = (field.Cx + field.Cy) >> 2;
  FCleared = FLastFrame = Clock().NowMs();

  Marquee->SetRunning(true);
  FTimer = new QTimer(this);
  FTimer->setInterval(kFrameMs);
  QObject::connect(FTimer, &QTimer::timeout, this, [this] { AboutBoxIdle(); });
  FTimer->start();

  if (owner) {
    const QRect o = owner->geometry();
    move(o.x() + (o.width() - kClientWidth) / 2, o.y() + (o.height() - kClientHeight) / 2);
  }
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::AboutBoxIdle() {
  const uint64_t now = Clock().NowMs();
  if (now - FCleared >= uint64_t(kCreditsStepMs)) {
    Stars.Clear(clBlack);
    FCleared = now;
  }
  // A star frame every millisecond, as many as have passed since the last tick.
  const int frames = int(std::clamp<uint64_t>(now - FLastFrame, 1, kCreditsStepMs));
  FLastFrame = now;
  for (int i = 0; i < frames; ++i) DrawStarfieldTrails(Stars);
  if (!Marquee->Running()) Marquee->SetRunning(true);
  update();
}

void TAboutBox::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.drawImage(0, 0, Stars.Image());
}

void ShowAboutBox(QWidget* owner, const std::string& Caption, const std::string& VersionText, int ProgramId) {
  TAboutBox box(owner, Caption, VersionText, ProgramId);
  box.exec();
}

// -----------------------------------------------------------------------------------------------
// Help > About

void TForm1::About1Click() {
  Sound("ring.wav", 2, 100);
  Sound("ring.wav", 2, 100);
  Sound("r2.wav", 1, 100);
  ShowAboutBox(this, "Patience.", VersionText, ProgramId);
  // The about box drew its own stars with the start screen's starfield.
  if (StartScreen) StartScreen->RestartStarfield();
}
