#pragma once
// The dialog that asks for the card sets folder when none is found.

#include <QDialog>

#include "cardtable/CardDeck.h"

class QLineEdit;
class QLabel;
class QPushButton;

class TDeckPathForm : public QDialog {
  Q_OBJECT
 public:
  explicit TDeckPathForm(QWidget* owner = nullptr);

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;  // "Ok", result 1
  QPushButton* Button2 = nullptr;  // "Cancel", result 2

  void Button1Click() { done(1); }
  void Button2Click() { done(2); }
};

// Makes the card deck ask through TDeckPathForm when its folder search fails.
void InstallDeckPathDialog();
