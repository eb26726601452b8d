#include "deckwright/NewSetForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "cardtable/VistaFuncs.h"
#include "platform/ui/Dialogs.h"

namespace {

QFont PixelFont(const QFont& base, int pixels) {
  QFont f = base;
  f.setPixelSize(pixels);
  return f;
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

  LabeledEdit1 = new QLineEdit(this);
  LabeledEdit1->setObjectName("LabeledEdit1");
  LabeledEdit1->setGeometry(40, 40, 329, 29);
  EditLabel = new QLabel("CardSet Name", this);
  EditLabel->setGeometry(40, 14, 329, 24);
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(40, 80, 329, 24);
  Label1->setFont(PixelFont(font(), 16));
  Label1->setStyleSheet("color: #c00000;");

  RadioGroup1 = new QGroupBox("Card Type", this);
  RadioGroup1->setGeometry(40, 112, 97, 105);
  Border = new QRadioButton("Border", RadioGroup1);
  Border->setGeometry(10, 25, 80, 22);
  Borderless = new QRadioButton("Borderless", RadioGroup1);
  Borderless->setGeometry(10, 55, 85, 22);
  Borderless->setChecked(true);

  Rankings = new QGroupBox("Rankings", this);
  Rankings->setGeometry(152, 112, 217, 105);
  RadioButton1 = new QRadioButton("1 Corner", Rankings);
  RadioButton1->setGeometry(16, 20, 100, 22);
  RadioButton2 = new QRadioButton("2 Corners", Rankings);
  RadioButton2->setGeometry(16, 45, 100, 22);
  RadioButton2->setChecked(true);
  RadioButton3 = new QRadioButton("4 Corners", Rankings);
  RadioButton3->setGeometry(16, 70, 100, 22);
  CheckBox1 = new QCheckBox("Border", Rankings);
  CheckBox1->setGeometry(128, 20, 80, 22);
  CheckBox2 = new QCheckBox("Large", Rankings);
  CheckBox2->setGeometry(128, 45, 80, 22);

  Button1 = new QPushButton("Ok", this);
  Button1->setGeometry(216, 240, 75, 25);
  Button1->setDefault(true);
  Button2 = new QPushButton("Cancel", this);
  Button2->setGeometry(304, 240, 75, 25);

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
  return LabeledEdit1->text().toStdString();
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
  const TCreateSetResult r = CreateUserSet(SetName(), CardsetsDir, UserCardsetsDir);
  if (!r.Message.empty() || r.Check != TNameCheck::Ok) {
    Beep();
    Label1->setText(QString::fromStdString(r.Message));
    return;  // the dialog stays open
  }
  FCreated = r.Folder;
  accept();
}
