#include "deckwright/NewSetForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "cardtable/VistaFuncs.h"
#include "platform/core/Text.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr int kMessagePixels = 16;

QFont PixelFont(const QFont& base, int pixels) {
  QFont f = base;
  f.setPixelSize(pixels);
  return f;
}

// w placed at (x, y) in its parent, width x height.
template <typename T>
T* Placed(T* w, int x, int y, int width, int height) {
  w->setGeometry(x, y, width, height);
  return w;
}

}  // namespace

TForm2::TForm2(QWidget* owner, const std::string& cardsetsDir, const std::string& userCardsetsDir)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      CardsetsDir(cardsetsDir),
      UserCardsetsDir(userCardsetsDir) {
  setObjectName("Form2");
  setWindowTitle("New CardSet");
  setFixedSize(392, 273);
  setFont(QFont("MS Sans Serif", 8));

  LabeledEdit1 = Placed(new QLineEdit(this), 40, 40, 329, 29);
  LabeledEdit1->setObjectName("LabeledEdit1");
  EditLabel = Placed(new QLabel("CardSet Name", this), 40, 14, 329, 24);
  // The message line takes the room between the name and the groups, so that a long message
  // wraps onto a second line instead of being cut.
  Label1 = Placed(new QLabel(this), 40, 70, 329, 41);
  Label1->setObjectName("Label1");
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Label1->setFont(PixelFont(font(), kMessagePixels));
  Label1->setStyleSheet("color: #c00000;");

  RadioGroup1 = Placed(new QGroupBox("Card Type", this), 40, 112, 97, 105);
  Border = Placed(new QRadioButton("Border", RadioGroup1), 10, 25, 80, 22);
  Borderless = Placed(new QRadioButton("Borderless", RadioGroup1), 10, 55, 85, 22);
  Borderless->setChecked(true);

  Rankings = Placed(new QGroupBox("Rankings", this), 152, 112, 217, 105);
  RadioButton1 = Placed(new QRadioButton("1 Corner", Rankings), 16, 20, 100, 22);
  RadioButton2 = Placed(new QRadioButton("2 Corners", Rankings), 16, 45, 100, 22);
  RadioButton2->setChecked(true);
  RadioButton3 = Placed(new QRadioButton("4 Corners", Rankings), 16, 70, 100, 22);
  CheckBox1 = Placed(new QCheckBox("Border", Rankings), 128, 20, 80, 22);
  CheckBox2 = Placed(new QCheckBox("Large", Rankings), 128, 45, 80, 22);

  Button1 = Placed(new QPushButton("Ok", this), 216, 240, 75, 25);
  Button1->setDefault(true);
  Button2 = Placed(new QPushButton("Cancel", this), 304, 240, 75, 25);

  ApplySystemUiFont(this);
  QFont editFont = PixelFont(LabeledEdit1->font(), 19);
  if (IsNewWindowsVersion() && editFont.family().compare("Calibri", Qt::CaseInsensitive) != 0 &&
      IsFontInstalled("Calibri"))
    editFont.setFamily("Calibri");
  LabeledEdit1->setFont(editFont);
  QFont labelFont = PixelFont(font(), 19);
  EditLabel->setFont(labelFont);

  connect(LabeledEdit1, &QLineEdit::textChanged, this, [this] { LabeledEdit1Change(); });
  connect(Border, &QRadioButton::toggled, this, [this] { RadioGroup1Click(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  LabeledEdit1->setFocus();
}

std::string TForm2::SetName() const {
  // One line of what was typed or pasted, without blanks at its ends.
  return Trim(OneLine(LabeledEdit1->text().toStdString()));
}

int TForm2::CardTypeIndex() const {
  return Border->isChecked() ? 0 : 1;
}

TSetOptions TForm2::Options() const {
  TSetOptions o;
  o.CardType = CardTypeIndex();
  o.Rankings = RadioButton1->isChecked() ? 0 : RadioButton2->isChecked() ? 1 : 2;
  o.IndexBorder = CheckBox1->isChecked();
  o.Large = CheckBox2->isChecked();
  return o;
}

void TForm2::LabeledEdit1Change() {
  Label1->clear();
}

void TForm2::RadioGroup1Click() {
  Rankings->setVisible(CardTypeIndex() != 0);
}

void TForm2::Button1Click() {
  const TSetOptions options = Options();
  const TCreateSetResult r = CreateUserSet(SetName(), CardsetsDir, UserCardsetsDir, &options);
  if (!r.Message.empty() || r.Check != TNameCheck::Ok) {
    Beep();
    ShowMessage(r.Message);
    return;  // the dialog stays open
  }
  FCreated = r.Folder;
  accept();
}

void TForm2::ShowMessage(const std::string& text) {
  Label1->setText(QString::fromStdString(text));
  for (int pixels = kMessagePixels; pixels >= 9; --pixels) {
    Label1->setFont(PixelFont(Label1->font(), pixels));
    if (Label1->heightForWidth(Label1->width()) <= Label1->height()) break;
  }
}
