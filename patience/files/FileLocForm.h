#pragma once
// The dialog "Save Data Location": where the game writes its player's files, in the local
// application data folder (the recommended default) or in the program folder.

#include <QDialog>
#include <functional>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class TFileLoc : public QDialog {
  Q_OBJECT
 public:
  explicit TFileLoc(QWidget* owner = nullptr);

  QPlainTextEdit* Memo1 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QRadioButton* RadioButton1 = nullptr;  // "Local Application Data", checked in the form
  QRadioButton* RadioButton2 = nullptr;  // "Application Directory"
  QPushButton* Button1 = nullptr;        // "OK", result 1
  QPushButton* Button2 = nullptr;        // "Cancel", result 2

  void Button1Click() { done(1); }
  void Button2Click() { done(2); }

 private:
  void FitMemoFont();
};

// How the dialog is put to the player: given the form, answers 1 (OK) or 2 (Cancel), with the
// radio buttons as the player left them.
using TFileLocPrompt = std::function<int(TFileLoc& form)>;
// Replaces the prompt; returns the one it replaced. Until a program installs the dialog the
// question is answered Cancel without showing anything (tests and tools never wait on it).
TFileLocPrompt SetFileLocPrompt(TFileLocPrompt prompt);
// Asks through the installed prompt.
int AskFileLoc(TFileLoc& form);
// Makes the question show TFileLoc modally (the programs call this at start).
void InstallFileLocDialog();
