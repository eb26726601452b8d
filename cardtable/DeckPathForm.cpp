#include "cardtable/DeckPathForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "cardtable/VistaFuncs.h"

TDeckPathForm::TDeckPathForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle("CardTable Configuration.");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(340, 175);
  ApplySystemUiFont(this);

  Label1 = new QLabel("Enter the path of the Cardsets directory:", this);
  Label1->setGeometry(16, 16, 308, 20);
  Label2 = new QLabel("Eg: C:\\Cardsets", this);
  QFont italic = Label2->font();
  italic.setItalic(true);
  Label2->setFont(italic);
  Label2->setGeometry(16, 40, 308, 20);
  Edit1 = new QLineEdit(this);
  Edit1->setGeometry(16, 72, 308, 24);
  Button1 = new QPushButton("Ok", this);
  Button1->setGeometry(160, 130, 75, 25);
  Button2 = new QPushButton("Cancel", this);
  Button2->setGeometry(249, 130, 75, 25);

  connect(Button1, &QPushButton::clicked, this, &TDeckPathForm::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TDeckPathForm::Button2Click);
  connect(Edit1, &QLineEdit::returnPressed, this, &TDeckPathForm::Button1Click);
}

void InstallDeckPathDialog() {
  SetCardsetsPrompt([](TCardTable*) {
    TDeckPathForm form;
    TCardsetsPromptAnswer a;
    a.Ok = form.exec() == 1;
    a.Text = form.Edit1->text().toStdString();
    return a;
  });
}
