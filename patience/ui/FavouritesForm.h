#pragma once
// TForm4, "Edit Favourites Menu": every game on the left, the favourites on the right, and two
// picture buttons that add the selected games to the favourites and remove the selected
// favourites. Both lists are sorted and take several selections.

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class TMenuItem;

class TForm4 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* parent = nullptr);

  // Adds to ListBox1 the caption of every item without children under MenuItem, depth first.
  void CollectGameCaptions(const TMenuItem& MenuItem);
  void SetFavourites(const std::vector<std::string>& captions);
  std::vector<std::string> Favourites() const;

  // Every selected game not yet a favourite (compared without regard to case) becomes one.
  void BitBtn3Click();
  // Every selected favourite is removed.
  void BitBtn4Click();

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QListWidget* ListBox1 = nullptr;
  QListWidget* ListBox2 = nullptr;
  QToolButton* BitBtn3 = nullptr;  // "Add to Favourites"
  QToolButton* BitBtn4 = nullptr;  // "Remove from Favourites"
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel
};
