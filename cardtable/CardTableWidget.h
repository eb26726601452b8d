#pragma once
// TCardTableWidget: the Qt widget that shows a card table. It is the table's surface: a copy of a
// changed rectangle is a synchronous repaint of that rectangle (animations never return to the event
// loop), the paint handler draws the table's back buffer straight from its memory, and mouse presses,
// moves and releases go to the table. What the window shows is read from its backing store (the
// table sends only what differs from it), and a frame of a drag that is not due yet is shown by a
// one-shot timer. A double click arrives as a second press. The widget follows
// its parent's size as the table's Align says and keeps the window above the table's minimum size.
// When the mouse is taken away in the middle of a drag (the window loses the focus, or the release
// goes astray), the drag ends as a release where the pointer was last seen.
//
// With PATIENCE_PRESENT_PROBE set in the environment every paint reports on standard output the
// pixels the table has sent to the screen so far and, of them, those whose colour changed there
// ("present-probe <paints> <sent> <changed>"); the on-screen benchmark (bench/screen_bench.py)
// reads it.
//
//   auto* view = new TCardTableWidget(parentWidget);
//   auto table = std::make_unique<TCardTable>(view);   // the table attaches itself to the widget

#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "cardtable/TableSurface.h"
#include "platform/graphics/Bitmap.h"

class TCardTableWidget : public QWidget, public TTableSurface {
  Q_OBJECT
 public:
  explicit TCardTableWidget(QWidget* parent = nullptr);
  ~TCardTableWidget() override;

  TCardTable* Table() const { return FTable; }
  // Lets the table take the size the form now offers (as after a resize of the form).
  void FollowForm();
  // Paint events handled so far.
  int PaintCount() const { return FPaintCount; }

  // TTableSurface
  void AttachTable(TCardTable* table) override;
  void CopyToScreen(const TBitmap& buffer, const TRect& r) override;
  void CopyRectsToScreen(const TBitmap& buffer, const std::vector<TRect>& rects) override;
  void Paint(const TBitmap& buffer) override;
  TScreenPixels ScreenPixels() const override;
  bool PresentLater(int ms) override;
  void Invalidate() override;
  void ProcessEvents() override;
  void SetBounds(const TRect& r) override;
  void SetVisible(bool visible) override;
  void ShowParent() override;
  void SendToBack() override;
  TCursor ScreenCursor() const override { return FCursor; }
  void SetScreenCursor(TCursor cursor) override;
  TPoint FormSize() const override;
  TPoint ClientSize() const override;
  void SetFormMinimumSize(int outerWidth, int outerHeight) override;
  void RepaintOwnerLabels() override;
  std::optional<std::string> ChoosePictureFile(const std::string& initialDir,
                                               const std::string& filter) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The mouse taken away during a drag (the window deactivated, the table hidden) ends the drag.
  bool event(QEvent* event) override;
  // Bounds set from outside (a layout) reach the table too.
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void Press(QMouseEvent* event, bool twice);
  // Shows the region of the buffer: put on the window where nothing lies over the table, repainted
  // elsewhere (WindowPut.h).
  void Show(const QRegion& region);
  // The table's part covered by sibling widgets stacked above it (table coordinates).
  QRegion CoveredAbove() const;
  // Counts what a paint sends and changes (PATIENCE_PRESENT_PROBE).
  void Probe(const QRegion& painted);
  QWidget* FWatched = nullptr;
  TCardTable* FTable = nullptr;
  TCursor FCursor = crDefault;
  bool FOverrideCursor = false;
  bool FInBounds = false;
  bool FLeftDown = false;  // a left press seen here and not yet released
  int FPaintCount = 0;
  QTimer* FFrameTimer = nullptr;
  QTimer* FRepaintTimer = nullptr;
  // What the probe has seen shown, and its counts.
  std::unique_ptr<TBitmap> FProbeScreen;
  long long FProbeSent = 0, FProbeChanged = 0;
};
