#pragma once
// The start screen the main window shows before a game and between games, instead of the card
// table: the grid of games (caption, how often played, how often won) of the group and filter
// chosen above it, the preview picture of the selected game, the starfield and the text panel on
// the right and the cross-fading picture strip below the preview. A game is previewed by
// selecting its row and played by a double click, Enter or the middle button.
//
// Grid rows are counted as the window counts them: row 0 is the fixed header, games are rows
// 1 .. RowCount() - 1 (the Qt table underneath has the header outside its rows).

#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QPaintEvent>
#include <QPainter>
#include <QTableWidget>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "patience/ui/MergePic.h"
#include "platform/core/StringList.h"
#include "platform/graphics/Bitmap.h"

class QComboBox;
class QFrame;
class TStarfieldView;
class TddgMarquee;
class TForm1;
class TMenuItem;

// A bitmap shown in a widget, stretched to it or at its own size.
class TBitmapView : public QWidget {
 public:
  explicit TBitmapView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
  TBitmap Picture;
  bool Stretch = false;
  std::function<void()> OnDblClick;

 protected:
  // Painted from the picture's own memory, only where the paint is asked for.
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    p.setClipRegion(event->region());
    if (Picture.Empty()) {
      p.fillRect(rect(), Qt::black);
      return;
    }
    const QImage img = Picture.ConstImage();
    if (Stretch) {
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.drawImage(rect(), img);
      return;
    }
    const QRegion outside = event->region() - img.rect();
    for (const QRect& r : outside) p.fillRect(r, Qt::black);
    for (const QRect& r : event->region() & img.rect()) p.drawImage(r.topLeft(), img, r);
  }
  void mouseDoubleClickEvent(QMouseEvent*) override {
    if (OnDblClick) OnDblClick();
  }
};

// The grid of games: the header is the fixed row 0; mouse presses, double clicks, the wheel and
// the Up and Down keys go to the start screen first.
class TStringGrid : public QTableWidget {
 public:
  explicit TStringGrid(QWidget* parent) : QTableWidget(0, 3, parent) {}
  std::function<void(Qt::MouseButton, bool)> OnMouseDown;
  std::function<void()> OnDblClick;
  std::function<void(bool)> OnWheel;
  std::function<bool(int)> OnKeyDown;

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    // The grid selects the row under the pointer first, as a click on a grid does.
    QTableWidget::mousePressEvent(e);
    if (OnMouseDown) OnMouseDown(e->button(), false);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    QTableWidget::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick();
  }
  void wheelEvent(QWheelEvent* e) override {
    if (OnWheel && e->angleDelta().y() != 0) OnWheel(e->angleDelta().y() < 0);
    e->accept();
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (OnKeyDown && OnKeyDown(e->key())) return;
    QTableWidget::keyPressEvent(e);
  }
};

// The three strings of each filter of ComboBox2.
inline constexpr const char* kFilterAll = "All Games";
inline constexpr const char* kFilterNotPlayed = "Games Not Played";
inline constexpr const char* kFilterNotWon = "Games Not Won";
inline constexpr const char* kFilterWon = "Games Won";

// The text that scrolls on the start screen on that day: a greeting on New Year's Day and at
// Christmas, then the version and a few sayings.
std::vector<std::string> StartScreenLines(int year, int month, int day);

class TStartScreen : public QObject {
 public:
  explicit TStartScreen(TForm1& form);
  ~TStartScreen() override;

  // Components (children of the main window).
  QFrame* Panel1 = nullptr;          // the starfield's frame, bottom right
  TStarfieldView* Image1 = nullptr;  // the starfield, inside Panel1's frame
  QFrame* Panel2 = nullptr;          // the text panel, top right
  TddgMarquee* Marquee1 = nullptr;   // its scrolling text, over Panel2
  QFrame* Panel3 = nullptr;          // the grid, left
  TStringGrid* StringGrid1 = nullptr;
  QFrame* Panel4 = nullptr;  // the preview, middle
  TBitmapView* Image2 = nullptr;
  QComboBox* ComboBox1 = nullptr;  // the game group: a child of " Game Type "
  QComboBox* ComboBox2 = nullptr;  // the filter
  // Where the picture strip cross-fades, below Panel4.
  TBitmapView* StripView = nullptr;
  TMergePic StartPicture;
  // The captions of the current group, in menu order; emptied when the group changes.
  TStringList GameCaptions;

  // The start screen shows (its starfield is visible).
  bool Showing() const;
  void ViewStartScreen();
  // The way into a game: the animation stops, the start screen's controls hide, the table shows.
  void CloseStartScreen();
  void FillStringGrid();
  // Appends the caption of every game under item, depth first, in menu order.
  void GetMenuItems(const TMenuItem& item);
  // One frame of the start screen's animation (the window's idle time, every 20 ms): the
  // starfield, and the scrolling text when its step is due.
  void Loop();
  // The window was minimized (true) or shown again: while it is, nothing of the start screen
  // runs, and the starfield and the text go on where they were once it shows.
  void SetMinimized(bool minimized);
  // The group and the filter were changed.
  void ComboBox1Change();
  void ComboBox2Change();

  // Grid input. Everything but Image2DblClick is ignored while the table's screen updates are off.
  void StringGrid1MouseDown(Qt::MouseButton button, bool doubleClick);
  void StringGrid1DblClick();
  void StringGrid1MouseWheel(bool down);
  // Up and Down move one row and preview it; true when the key was taken.
  bool StringGrid1KeyDown(int key);
  void Image2DblClick();
  // The first row whose caption begins with this capital letter; -1 when none.
  int FindRowByInitial(char letter) const;

  int Row() const;
  void SetRow(int row);
  int RowCount() const;
  // The text of a cell (column 0 caption, 1 played, 2 won; row 0 the header).
  std::string Cells(int col, int row) const;

  // The preview: "GameImages/<n>.jpg", else "qv3.jpg", else a plain panel.
  void ShowPicture(int picture);
  // The quiet load of a row's game: its name, help code and picture, no deal; GameName ends empty.
  void QuietLoad(int row);
  // Places the components for the window's client size (creation and every resize).
  void PlaceComponents();
  // The data folder's statistics files were deleted: the grid again, all zeros.
  void Rebuild();
  // The starfield from the start, black (after the about box, which shares it).
  void RestartStarfield();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The starfield and the text, where they paint on screen themselves, show once the window's
  // paint of their panels has reached the screen, never before it: the two reach the screen one
  // right after the other.
  void ShowViewsAfterPanels();
  void ShowViews();
  // Places a view that may paint on screen in a window of its own.
  void PlaceView(QWidget* view, const QRect& place);
  bool FViewsWait = false;
  bool FMinimized = false;
  void StartStrip();
  void StartStarfield();
  // The scrolling text on Panel2, made once and started at every show.
  void StartMarquee();
  // Panel2's inside; follows the panel's size.
  void PlaceMarquee();
  void SetControlsVisible(bool visible);
  bool ScreenUpdates() const;
  void SetUpGrid();
  void SetUpChoosers();
  // The widths the text column and the grid need for their texts to show whole.
  void MeasureTexts();
  int FTextNeeds = 80;
  int FGridNeeds = 280;
  int FNameNeeds = 0;
  TForm1& FForm;
  QTimer FIdle{this};
  bool FShowing = false;
};
