#pragma once
// The scoring system: the four point values the scored sounds add (drop on the tableau or a
// cell, drop on a foundation, a refused drop, a redeal of the waste), kept in the data folder's
// "Scoring.dat" (one decimal value a line, in that order; further lines are kept as they are),
// and TForm3 "Modify Scoring System", the dialog that edits them.

#include <QDialog>
#include <functional>
#include <string>

#include "cardtable/Backdrop.h"
#include "patience/engine/PatienceEngine.h"
#include "platform/core/StringList.h"
#include "platform/graphics/Bitmap.h"

class QLabel;
class QLineEdit;
class QPushButton;

inline constexpr const char* kScoringFile = "Scoring.dat";

using TScoringTrace = std::function<void(const std::string&)>;

// Reads folder/"Scoring.dat" into list and its first four lines into values. Without the file the
// list is empty and values stay. A line missing or not an integer gives all four defaults.
void LoadScoringValues(const std::string& folder, TStringList& list, TScoreValues& values,
                       const TScoringTrace& trace);
// Writes values into lines 0 .. 3 of list (padding it to four lines) and saves it as
// folder/"Scoring.dat". False (and a trace line) when the file could not be written.
bool SaveScoringValues(const std::string& folder, TStringList& list, const TScoreValues& values,
                       const TScoringTrace& trace);

class TForm3 : public QDialog {
  Q_OBJECT
 public:
  // The dialog showing the four values; all four 0 shows the defaults.
  TForm3(QWidget* AOwner, int Drop, int Success, int Undo, int Waste);
  ~TForm3() override;

  QLabel* DropLabel = nullptr;
  QLabel* SuccessLabel = nullptr;
  QLabel* UndoLabel = nullptr;
  QLabel* WasteLabel = nullptr;
  QLineEdit* DropEdit = nullptr;
  QLineEdit* SuccessEdit = nullptr;
  QLineEdit* UndoEdit = nullptr;
  QLineEdit* WasteEdit = nullptr;
  QPushButton* Defaults = nullptr;  // "Load Defaults"
  QPushButton* Ok = nullptr;        // "OK", result 1
  QPushButton* Cancel = nullptr;    // "Cancel", result 2

  // The values as edited (each edit's last accepted integer).
  int Drop = 0, Success = 0, Undo = 0, Waste = 0;

  void DefaultsClick();
  // Leaving an edit: a modified integer becomes its value; other text is put back.
  void DropEditExit();
  void SuccessEditExit();
  void UndoEditExit();
  void WasteEditExit();
  // Enter moves on to the next control; Escape puts the focused edit's value back. True when the
  // key was taken.
  bool DropEditKeyDown(QLineEdit* edit, int key);
  // Runs the leave handler of the edit that has the focus (OK can be pressed without leaving it).
  void CommitEdits();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* AddEdit(const char* name, const char* label, const char* hint, int top, QLabel*& labelOut);
  void EditExit(QLineEdit* edit, int& field);
  int& FieldOf(QLineEdit* edit);
  void ShowValues();

  TBitmap FBitmap;
};

// Shows the dialog modally and answers its result (1 OK, 2 Cancel); tests replace it.
using TForm3Runner = std::function<int(TForm3&)>;
void SetForm3RunnerForTesting(TForm3Runner runner);
int RunForm3(TForm3& form);
