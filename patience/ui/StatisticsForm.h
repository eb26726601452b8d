#pragma once
// TDataForm, "Statistics and High Scores.": the played and won counts of a game with a bar
// chart of lost and won games, its twenty best scores, and the page that asks the player's name
// for a new high score. The window is made once and reused.

#include <QDialog>
#include <functional>
#include <string>

#include "patience/files/Statistics.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QWidget;

class TDataForm : public QDialog {
  Q_OBJECT
 public:
  explicit TDataForm(QWidget* parent = nullptr);

  // Plays a sound of the game (set by the owner; none when empty).
  std::function<void(const std::string& name)> PlaySound;

  // The Statistics (page 0) or High Scores (page 1) page of a game, shown modally.
  void ShowStats(const std::string& gameName, int page, const std::string& dataDir);
  // The new-entry page, shown modally: answers the name typed (the default when none was).
  std::string AskName(const std::string& gameName, int position, int points, const std::string& defaultName);

  // Fills every page from the statistics (ShowStats without showing).
  void Fill(const std::string& gameName, const TGameStatistics& stats);

  QLabel* Label1 = nullptr;  // the game's name
  QTabWidget* PageControl1 = nullptr;
  QWidget* Statistics = nullptr;
  QWidget* High_Scores = nullptr;
  QWidget* NewEntry = nullptr;
  QLabel* Label2 = nullptr;  // "Played: "
  QLabel* Label3 = nullptr;  // "Won: "
  QLabel* Label8 = nullptr;  // "Lost: x%"
  QLabel* Label9 = nullptr;  // "Won: y%"
  QLabel* Image1 = nullptr;  // the bar chart, 281 x 201
  QTableWidget* StringGrid1 = nullptr;
  QLabel* Label6 = nullptr;  // "Points: "
  QLabel* Label7 = nullptr;  // "Position: "
  QLineEdit* Edit1 = nullptr;
  QPushButton* BitBtn1 = nullptr;

 private:
  void BuildStatisticsPage();
  void BuildHighScoresPage();
  void BuildNewEntryPage();
  void UseCalibriWhereTheSystemDoes();
  void FormActivate();
  void ShowEntryPage(bool entry);
  void DrawChart(const TStatsPercent& percent);
};
