#include "deckwright/MakerAboutBox.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "cardtable/VistaFuncs.h"
#include "deckwright/HarmFade.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bmp.h"

namespace deckwright {

std::string AboutPictureDir;

TAboutBox::TAboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
  setObjectName("AboutBox");
  setFixedSize(278, 299);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  QFont f("MS Sans Serif");
  f.setPixelSize(10);
  setFont(f);

  Memo1 = new QLabel(this);
  Memo1->setGeometry(0, 10, 278, 55);
  Memo1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Memo1->setWordWrap(true);
  Memo1->setStyleSheet("color: white; background: black;");
  QFont mf = Memo1->font();
  mf.setPixelSize(16);
  Memo1->setFont(mf);
  Memo1->setText("Deckwright.\nTurns your own pictures into card sets for Patience.");
  Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse);

  BitBtn1 = new QPushButton("OK", this);
  BitBtn1->setGeometry(192, 264, 75, 25);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::FormActivate() {
  ApplySystemUiFont(this);
  QFont mf = Memo1->font();
  if (IsNewWindowsVersion() && mf.family().compare("Calibri", Qt::CaseInsensitive) != 0 &&
      IsFontInstalled("Calibri")) {
    mf.setFamily("Calibri");
    Memo1->setFont(mf);
  }
  if (!FPicture) {
    FPicture = new THarmFade(this);
    FPicture->OnMouseEnter = [](QWidget* w) { static_cast<THarmFade*>(w)->DissolveIn(); };
    FPicture->OnMouseLeave = [](QWidget* w) { static_cast<THarmFade*>(w)->DissolveBack(); };
  }
  FPicture->setGeometry(60, 80, width() - 120, height() - 155);
  FPicture->SetStretchToFit(true);
  for (auto [file, to] : {std::pair{"06d.bmp", false}, std::pair{"06d_1.bmp", true}}) {
    const std::string path = PathJoin(AboutPictureDir, file);
    if (!FileExists(path)) continue;
    TBitmap picture;
    try {
      LoadBmpFile(path, picture);
    } catch (const Exception&) {
      continue;  // a damaged picture shows the plain colour
    }
    if (to)
      FPicture->SetPicTo(picture);
    else
      FPicture->SetPicFrom(picture);
  }
  FPicture->show();
}

void TAboutBox::FormClose() {
  delete FPicture;
  FPicture = nullptr;
}

void TAboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

void TAboutBox::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TAboutBox::closeEvent(QCloseEvent* event) {
  FormClose();
  QDialog::closeEvent(event);
}

void TAboutBox::done(int r) {
  FormClose();
  QDialog::done(r);
}

void ShowAboutBox(const std::string& PictureDir, const std::string& Caption, QWidget* owner) {
  AboutPictureDir = PictureDir;
  TAboutBox box(owner);
  box.setWindowTitle(QString::fromStdString(Caption));
  box.exec();
}

}  // namespace deckwright
