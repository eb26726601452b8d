#include "patience/files/FileLocForm.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTextDocument>
#include <algorithm>

#include "cardtable/VistaFuncs.h"

namespace {

TFileLocPrompt& Prompt() {
  static TFileLocPrompt prompt;
  return prompt;
}

}  // namespace

TFileLoc::TFileLoc(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Save Data Location"));
  // A dialog border with the system menu only, above the other windows.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setFixedSize(447, 419);
  ApplySystemUiFont(this);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setReadOnly(true);
  Memo1->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  QFont memoFont(QStringLiteral("Tahoma"));
  memoFont.setPointSize(12);
  Memo1->setFont(memoFont);
  Memo1->setPlainText(
      QStringLiteral("Patience by default will write data to the Patience folder in\n"
                     "the local application data directory.\n"
                     "Recommended.\n"
                     "\n"
                     "Optionally it can be set to write files to the Patience\n"
                     "application directory.\n"
                     "Depending upon its location and the operating system,\n"
                     "administrative privilages may be required."));
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setGeometry(12, 12, 423, 232);

  GroupBox1 = new QGroupBox(QStringLiteral("Data File Location"), this);
  GroupBox1->setGeometry(12, 256, 423, 100);
  RadioButton1 = new QRadioButton(QStringLiteral("Local Application Data"), GroupBox1);
  RadioButton1->setGeometry(16, 28, 390, 24);
  RadioButton1->setChecked(true);
  RadioButton2 = new QRadioButton(QStringLiteral("Application Directory"), GroupBox1);
  RadioButton2->setGeometry(16, 60, 390, 24);

  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setGeometry(248, 374, 88, 30);
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setGeometry(347, 374, 88, 30);
  connect(Button1, &QPushButton::clicked, this, &TFileLoc::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFileLoc::Button2Click);

  // The memo follows the switch to the newer interface font with a font of its own.
  if (IsNewWindowsVersion() && IsFontInstalled("Segoe UI") &&
      Memo1->font().family() != QStringLiteral("Calibri") && IsFontInstalled("Calibri")) {
    QFont f = Memo1->font();
    f.setFamily(QStringLiteral("Calibri"));
    Memo1->setFont(f);
  }
  FitMemoFont();
}

void TFileLoc::FitMemoFont() {
  // Where the font the memo asks for is not installed, a wider one stands in: the text then
  // steps down in size until its longest line fits, as the lines were written for the box.
  QFont f = Memo1->font();
  const int room =
      Memo1->width() - 2 * Memo1->frameWidth() - 2 * int(Memo1->document()->documentMargin()) - 4;
  const QStringList lines = Memo1->toPlainText().split(QLatin1Char('\n'));
  auto widest = [&](const QFont& font) {
    const QFontMetrics m(font);
    int w = 0;
    for (const QString& line : lines) w = std::max(w, m.horizontalAdvance(line));
    return w;
  };
  while (f.pointSize() > 7 && widest(f) > room) f.setPointSize(f.pointSize() - 1);
  Memo1->setFont(f);
}

TFileLocPrompt SetFileLocPrompt(TFileLocPrompt prompt) {
  TFileLocPrompt old = std::move(Prompt());
  Prompt() = std::move(prompt);
  return old;
}

int AskFileLoc(TFileLoc& form) {
  if (!Prompt()) return 2;
  return Prompt()(form);
}

void InstallFileLocDialog() {
  SetFileLocPrompt([](TFileLoc& form) {
    // Centred on the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      form.move(area.center() - QPoint(form.width() / 2, form.height() / 2));
    }
    return form.exec();
  });
}
