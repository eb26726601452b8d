#pragma once
// TForm2 "New CardSet": asks for the name of a new user card set and how its faces are composed,
// checks the name and makes the set's folder as a copy of the template set. A refused name keeps
// the dialog open with its reason (nothing is made); Cancel or Escape makes nothing.

#include <QDialog>
#include <string>

#include "deckwright/UserCardSet.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  TForm2(QWidget* owner, const std::string& cardsetsDir, const std::string& userCardsetsDir);

  QLabel* EditLabel = nullptr;
  QLineEdit* LabeledEdit1 = nullptr;
  QLabel* Label1 = nullptr;
  QGroupBox* RadioGroup1 = nullptr;
  QRadioButton* Border = nullptr;
  QRadioButton* Borderless = nullptr;
  QGroupBox* Rankings = nullptr;
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QRadioButton* RadioButton3 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

  std::string CardsetsDir;
  std::string UserCardsetsDir;

  // The typed name (without "U_"), as one line without blanks at its ends.
  std::string SetName() const;
  // The card type index: 0 Border, 1 Borderless.
  int CardTypeIndex() const;
  // The choices as the set's "options.txt" keeps them (written even while Rankings is hidden).
  TSetOptions Options() const;
  // The folder made by the last accepted OK.
  const std::string& CreatedFolder() const { return FCreated; }

  void LabeledEdit1Change();
  void RadioGroup1Click();
  // Checks the name and makes the set; closes with OK only when the set was made.
  void Button1Click();

 private:
  // The message line, shown whole: it wraps onto a second line, and a message that still does not
  // fit takes a smaller font.
  void ShowMessage(const std::string& text);
  std::string FCreated;
};
