#pragma once
// TCardTable: the play surface of both programs. Everything is drawn into a back buffer of the
// table's size; each operation then copies only the rectangle it changed to the screen through the
// table's surface (TableSurface.h). Cards, place markers, shadows and sprites each keep a save-under
// copy of the buffer that lay beneath them and are taken off by copying it back, so erasing runs
// topmost first and drawing bottom first.
//
// The owner drives the table through its operations and hears from it through five events. Bulk
// changes switch ScreenUpdates off and paint once at the end.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cardtable/Backdrop.h"
#include "cardtable/CardDeck.h"
#include "cardtable/TableSprites.h"
#include "cardtable/TableSurface.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

enum TJPEGPerformance : uint8_t { jpBestQuality, jpBestSpeed };
enum THelpType : uint8_t { htKeyword, htContext };

// The control's margins (kept for the settings file; the table does not lay out by them).
struct TMargins {
  int Left = 3;
  int Top = 3;
  int Right = 3;
  int Bottom = 3;
  friend bool operator==(const TMargins&, const TMargins&) = default;
};

// What LoadStatus found.
enum class TStatusLoad : uint8_t {
  NoFile,   // no settings file: nothing changed
  Loaded,   // read and applied
  Damaged,  // unreadable: set aside as "Status.Dat.bad", nothing changed
};

// The name of the table's settings file, and the names the file lists after the properties (each
// without a value: the table streams no per-card data).
extern const char* const kStatusFileName;
extern const char* const kStatusCustomNames[16];

class TStatusFiler;

using TCardClickEvent = std::function<void(TCard* ACard, TMouseButton Button)>;
using TCardDropEvent = std::function<void(TCard* ACard, int X, int Y, int RelX, int RelY, int Index)>;
using TCardRestoredEvent = std::function<void()>;
using TMouseEvent = std::function<void(TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TShiftState Shift, int X, int Y)>;
using TNotifyEvent = std::function<void()>;
using TTraceEvent = std::function<void(const std::string& Line)>;
using TDropPoints = std::vector<TPoint>;
using TDropAngles = std::vector<float>;

// Entries of the display list; one more than a deck can hold.
constexpr int kMaxTableCards = 109;

// One frame of the lifted turn: progress d, offset of the shadow from its start along the turn,
// and the shadow's length L along the turn.
struct TLiftTurnFrame {
  int D = 0;
  int Offset = 0;
  int L = 0;
  friend bool operator==(const TLiftTurnFrame&, const TLiftTurnFrame&) = default;
};
// The frames of a lifted turn of a card of cardSize pixels along the turn, at speed v (already capped),
// starting with a shadow of startL pixels that may grow to limit. L never drops below 1.
std::vector<TLiftTurnFrame> LiftTurnSchedule(int cardSize, int v, int startL, int limit);

// The length of one step of a moving card dx, dy pixels (absolute) from its target, and whether the
// step first waits 2 ms: CardSpeed plus the number of covering cards while cards cover it; with
// SlowMoveRegion the last half card creeps one pixel a step (waiting within an eighth of a card
// when waitMode is set); CardSpeed otherwise.
struct TMoveStep {
  int Step = 0;
  bool Wait = false;
  friend bool operator==(const TMoveStep&, const TMoveStep&) = default;
};
TMoveStep MoveStepLength(long long dx, long long dy, int cardWidth, int cardHeight, int cardSpeed,
                         int coveringCount, bool slowMoveRegion, bool waitMode);

// Drop points the dragged card overlaps at once (AutoShadeMode 1); further ones are not recorded.
constexpr int kOverlapStackSize = 10;

// What one drag step does to the drop shade: hide it (first), then show it at a drop point.
struct TDropShadeChange {
  bool Hide = false;
  int Show = -1;
  friend bool operator==(const TDropShadeChange&, const TDropShadeChange&) = default;
};
// Decides the drop shade for the dragged card's face rectangle and the mouse position by mode
// (1 the point entered last, 2 the point under the pointer, 3 the largest overlap). Points are
// cardSize rectangles, edges included; the point equal to origin (where the drag began) is never
// considered. stack (the overlap stack) is updated; shaded is the point shaded now, -1 for none.
TDropShadeChange DecideDropShade(int mode, const TDropPoints& points, TPoint cardSize, TPoint origin,
                                 const TRect& face, TPoint mouse, std::vector<int>& stack, int shaded);

class TCardTable {
 public:
  // Creates the table with its deck ("Standard", found by the card sets folder search) and a
  // 500 x 400 buffer of $FF8080. A null surface draws nowhere.
  explicit TCardTable(TTableSurface* surface = nullptr);
  // The same with a known card sets folder (no search, no dialog).
  TCardTable(TTableSurface* surface, const std::string& cardsetsDir);
  ~TCardTable();
  TCardTable(const TCardTable&) = delete;
  TCardTable& operator=(const TCardTable&) = delete;

  // ---------------------------------------------------------------------------------------------
  // The control

  TTableSurface& Surface() { return *FSurface; }
  // The surface is going: the table draws nowhere from now on.
  void DetachSurface();
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  // Moves and sizes the control. The buffer follows at the next ApplyBounds, background change,
  // Paint or SetScreenUpdates(true).
  void SetBounds(int left, int top, int width, int height);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign value) { FAlign = value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  // With this set, hiding the table lets its buffer go, and so does every change of the background
  // while it is hidden (a new colour, picture or size); showing it draws the background and
  // everything on it afresh (RedrawAll). For an owner whose table is redrawn whole anyway, such as
  // the game's, whose start screen shows instead of it. Off by default: a table that draws
  // pictures no redraw could repeat (the card back chooser) keeps its buffer.
  bool FreeBufferWhileHidden = false;
  bool Enabled = true;
  int Tag = 0;
  TCursor Cursor = crDefault;
  // Kept for the settings file.
  bool AlignWithMargins = false;
  std::string Hint;
  THelpType HelpType = htContext;
  std::string HelpKeyword;
  int HelpContext = 0;
  TMargins Margins;

  // Outer size of the owner form minus its client size, measured at construction.
  int FormBorderWidth = 0;
  int FormBorderHeight = 0;
  void MeasureFormBorders();

  // The owner form is about to take the outer size NewWidth x NewHeight: refuses sizes below
  // MinWidth x MinHeight and otherwise lets the table follow as Align (or AutoResize) says.
  void FormCanResize(int& NewWidth, int& NewHeight, bool& Resize);
  // New bounds. Unchanged size: only moves. Otherwise the buffer is rebuilt at the new size and
  // everything redrawn; while ScreenUpdates is off the rebuild waits until it is switched on.
  void ApplyBounds(int left, int top, int width, int height);

  // ---------------------------------------------------------------------------------------------
  // The back buffer and the screen

  // Always the control's size (between a resize and the rebuild it follows, see ApplyBounds).
  TBitmap Buffer;
  // Text and shapes on the buffer (the game's effects draw there, then copy or Paint).
  TCanvas& BufferCanvas() { return FBufferCanvas; }
  // Folder of the running program; the default folder of the table's state file.
  std::string ProgramDir;

  // Copies reach the screen only while this is set.
  bool ScreenUpdates() const { return FScreenUpdates; }
  // Switching on applies a resize that came while it was off, then shows what the screen missed
  // meanwhile (see ScreenMissed).
  void SetScreenUpdates(bool value);
  // Copies the whole buffer to the screen (when ScreenUpdates is set). While an animation runs,
  // the screen already holds everything but what was drawn since the last present (every
  // operation copies what it changes), so only that goes: the picture is the same, the pixels
  // sent a fraction.
  void Paint();
  // Asks for a whole repaint from the event loop. Asked while ScreenUpdates is off, the repaint may
  // be served before updates return (showing nothing new), so the table also owes the screen a
  // copy of the whole table for when they do.
  void Invalidate();
  // The surface had to show r while ScreenUpdates was off (the window system asked for a repaint
  // in the middle of a bulk change) and showed nothing new there: r is copied to the screen when
  // updates return, unless a Paint has shown everything before.
  void ScreenMissed(const TRect& r);
  // The whole repaint an Invalidate asked for, served from the event loop by a surface that knows
  // what the screen shows: what differs from it goes, or, while updates are held back, the screen
  // owes it until they return.
  void RepaintFromEventLoop();
  // What the screen still misses (empty when nothing).
  TRect MissedRect() const { return FMissed; }
  // The surface showed r of the buffer on its own (a repaint the window system or an Invalidate
  // asked for): what was owed to the screen there is paid.
  void ScreenShown(const TRect& r);
  // Lets pending repaints happen; user input stays queued.
  void ProcessEvents();
  // Copies a rectangle of the buffer to the same place on the screen when the table is visible and
  // ScreenUpdates is set. Where the surface knows what the screen shows, only the parts that differ
  // from it are sent. During a drag the copies between two display frames are shown together,
  // when the frame is due (see PresentFrame).
  void CopyToScreen(int X, int Y, int Width, int Height);
  void CopyToScreen(const TRect& r) { CopyToScreen(r.Left, r.Top, r.Width(), r.Height()); }
  // Shows the copies gathered for a frame that was not due yet (the surface calls it when the frame
  // comes, see TTableSurface::PresentLater).
  void PresentFrame();
  // Shows the parent and the table, repaints it and the labels over it.
  void ShowTable();
  // Repaints the windowless controls over the table when ScreenUpdates and RepaintLabels are set.
  void RepaintOwnerLabels();

  // ---------------------------------------------------------------------------------------------
  // Published properties

  TCardDeck* CardDeck() const { return FCardDeck.get(); }
  // Copies the deck into the table's own deck; nullptr is ignored.
  void SetCardDeck(const TCardDeck* deck);

  TColor Color() const { return FColor; }
  // New buffer in the colour (or the gradient when BackDrop is enabled), no picture, full redraw.
  void SetColor(TColor value);
  const std::string& BackgroundPicture() const { return FBackgroundPicture; }
  // A .bmp or .jpg tiled or stretched over the table. A missing or unreadable file leaves the plain
  // colour and a trace line; the name is then "None" ("None" itself means no picture).
  void SetBackgroundPicture(const std::string& name);
  bool StretchBackground() const { return FStretchBackground; }
  void SetStretchBackground(bool value);
  TJPEGPerformance JpegPerformance() const { return FJpegPerformance; }
  void SetJpegPerformance(TJPEGPerformance value);
  TBackdrop& BackDrop() { return FBackDrop; }
  const TBackdrop& BackDrop() const { return FBackDrop; }

  int CardSpeed() const { return FCardSpeed; }
  void SetCardSpeed(int value);  // values of 0 or below are ignored
  int PlaceDeckOffset() const { return FPlaceDeckOffset; }
  void SetPlaceDeckOffset(int value);  // 0 is ignored
  int TurnOverAnimationSpeed() const { return FTurnOverAnimationSpeed; }
  void SetTurnOverAnimationSpeed(int value);  // negative values are ignored
  int AutoShadeMode() const { return FAutoShadeMode; }
  void SetAutoShadeMode(int value);  // only 1, 2 or 3
  int HQDragShadeColour() const { return FHQDragShadeColour; }
  void SetHQDragShadeColour(int value);  // 0..7, anything else stores 0
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int value);
  int MinHeight() const { return FMinHeight; }
  void SetMinHeight(int value);

  TCursor DragCardCursor = crDrag;
  bool DragAndDrop = false;
  bool DragFromDeck = false;
  bool DragFaceDown = false;
  bool LiftOffset = false;
  bool RepaintLabels = false;
  bool AutoResize = false;
  bool TurnOverAnimationVertical = true;
  bool TurnOverAnimationLift = false;
  bool SlowMoveRegion = false;
  bool SMR_WaitMode = true;
  TShadowMode ShadowMode = smDarken;
  bool SoftShadow = true;
  bool FastMovementMode = false;
  bool HQDragShade = true;
  // Blocks card presses and drags; the table sets it during every animation.
  bool DisableCardClicks = false;

  // Events.
  TCardClickEvent OnCardClickEvent;          // a press on a card of CardDeck
  TCardClickEvent OnExternalCardClickEvent;  // a press on a displayed card of another deck
  TCardDropEvent OnCardDropEvent;            // the left button released during a drag
  TCardRestoredEvent OnCardRestoredEvent;    // RestoreCard has moved the card home
  TTableClickEvent OnTableClickEvent;        // a press that hit no card and no visible area
  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;  // kept for the owner's assignments; the table never raises it
  // Where the table reports what went wrong without stopping (an unreadable picture). Unassigned,
  // the line goes to the standard error stream.
  TTraceEvent OnTrace;

  // ---------------------------------------------------------------------------------------------
  // Cards on the table

  // Display list in drawing order, 1..TableCount; the last entry is the topmost card.
  std::array<TCard*, kMaxTableCards + 1> TableCards{};
  int TableCount = 0;

  // The one routine that puts a card into the buffer: upright by mask (AND) and face or back (OR),
  // turned by a transparent draw of the turned picture. With SaveUnder, a displayed card is left
  // alone, otherwise the buffer beneath is saved first. Touches neither the list nor the screen.
  void DrawCard(TCard* Card, int X, int Y, TCardDeck* Deck, bool SaveUnder, float Angle);
  // Copies the card's save-under back over its rectangle.
  void EraseCard(TCard* Card, TCardDeck* Deck);
  // Takes the card off and draws it again with a fresh save-under at (X, Y) and Angle, whether or
  // not it was marked displayed; it is displayed afterwards. No list change, no screen copy.
  void RedrawWithSaveUnder(TCard* Card, int X, int Y, float Angle);
  // Appends a displayed card that is not listed yet, while there is room.
  void AddToDisplayList(TCard* Card);
  // Draws a card that is not displayed on top of everything and lists it.
  void AddCard(TCard* Card, int X, int Y, float Angle = 0);
  // The deck's next card (nullptr: the table's deck); listed where it lies when it was drawn in
  // the stock pile.
  TCard* DealCard(TCardDeck* Deck = nullptr);
  // Draws the stock pile at (X, Y): the next card on top, one pixel up and left every
  // PlaceDeckOffset cards.
  void DrawDeck(int X, int Y, TCardDeck* Deck = nullptr);
  // Takes the N-th stock card out of the pile, redraws the pile at (X, Y) and shows the card on top
  // where it lay.
  TCard* DealNthCard(int N, int X, int Y, TCardDeck* Deck = nullptr);
  // Takes a displayed card off the table (from under the cards over it) and out of the list.
  void RemoveCard(TCard* Card, bool IgnoreOverlaps = false);
  // Turns a displayed card to Angle in place, under the cards over it.
  void RotateCard(TCard* Card, float Angle);
  // Finds the listed cards lying over Card (Fresh) or those of Covering that still do, grows Bounds
  // by them and erases them topmost first. Index is the card's place in the list (0: not listed).
  void LiftCovering(TCard* Card, TCardDeck* Deck, bool IgnoreOverlaps, bool Fresh, int& Index,
                    TCardList& Covering, TRect& Bounds);
  // Draws the cards in list order with fresh save-unders.
  void RedrawCards(const TCardList& Cards);
  // Erases every listed card, topmost first, and empties the list.
  void ClearDisplayList();
  // Erases the deck's drawn stock pile.
  void EraseStockPile(TCardDeck* Deck = nullptr);
  // Takes every card off the table and back into the deck.
  void CollectCards(TCardDeck* Deck = nullptr);
  // Collects the table's deck and re-applies the background.
  void ClearTable();
  // Draws everything again over a new buffer: areas below the cards, places, the stock pile, the
  // list, areas above the cards and the sprite. The caller invalidates.
  void RedrawAll();

  // The card's rectangle on the table (turned or upright).
  TRect CardRect(const TCard* Card) const;
  // The card's place in the list, searched from the top; 0 when it is not there.
  int DisplayIndex(const TCard* Card) const;

  // ---------------------------------------------------------------------------------------------
  // Animations

  // Waits at least Milliseconds on the program's clock.
  void Delay(int Milliseconds);
  // Microseconds spent in Delay since the table was made (the pacing benchmark reads it).
  uint64_t DelayedUs = 0;
  // Moves a displayed card to (X, Y) step by step, with its shadow while it is free of other cards.
  void MoveCard(TCard* Card, int X, int Y);
  // Turns the card over; animated when it is displayed.
  void TurnOverCard(TCard* Card, bool IgnoreOverlaps = false);
  // One squeezed frame of a turn at Progress 0..size.
  void DrawTurnFrame(TCard* Card, TCardDeck* Deck, int Progress);
  // The turn with the card lifted over a travelling shadow; false when cards cover the card.
  bool LiftAndTurn(TCard* Card);
  // Gates the turn animations.
  bool AnimationsOn = true;
  // While an animation runs or a card is dragged the screen is updated at most once per this many
  // milliseconds (a display frame): copies in between gather into a few rectangles, shown when the
  // frame is due, at the end of the animation or the drag, or while it waits. The drawing never
  // waits for a frame. 0: every copy reaches the screen at once.
  int FramePeriodMs = 16;
  // Each step of a move, a turn or a lifted turn lasts at least this many milliseconds (what one
  // whole-window paint once cost); Delay calls inside a step come on top. 0: as fast as it draws.
  int StepPeriodMs = 3;

  // The two-strip shadow of a lifted card at (X, Y); erased right strip first.
  void DrawDragShadow(int X, int Y, TCardDeck* Deck);
  void EraseDragShadow(TCardDeck* Deck);
  // The shadow size s: the width of the deck's right-hand shadow strip.
  int ShadowSize(const TCardDeck* Deck = nullptr) const;

  // ---------------------------------------------------------------------------------------------
  // Mouse and dragging state

  bool DraggingFromDeck = false;
  bool Dragging = false;
  TCard* DragCard = nullptr;
  float DragAngle = 0;
  int DragOriginX = 0;
  int DragOriginY = 0;
  int DragIndex = 0;
  TCardList Draggable;
  TDropPoints DropPoints;
  TDropAngles DropAngles;
  int GrabX = 0;
  int GrabY = 0;
  TCursor SavedCursor = crDefault;
  bool SnappedToDrop = false;
  bool CustomStreaming = false;
  std::vector<int> OverlapStack;  // drop points the dragged card overlaps, in the order it entered
  int OverlapTop = -1;
  int ShadedDropPoint = -1;

  void SetDraggableCards(const TCardList& Cards) { Draggable = Cards; }
  void SetDropPoints(const TDropPoints& Points) { DropPoints = Points; }
  void SetDropAngles(const TDropAngles& Angles) { DropAngles = Angles; }

  // The hit test: the list top down, then the drawn stock pile; edges included.
  TCard* CardAt(int X, int Y, bool RespectDisabled);
  // A press on the table: a drag start (left button on a draggable card) and the click events.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  // During a drag the card, its shadow and the drop shade follow the pointer.
  void MouseMove(TShiftState Shift, int X, int Y);
  // The left button ends a drag: OnCardDropEvent with the shaded drop point or -1. The card stays
  // drawn where it was released until the owner answers with DropCard or RestoreCard (without a
  // handler the table restores it itself).
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // The press of a replay or an automatic move: ignores DisableCardClicks, but does nothing while
  // an animation runs or a dragged card waits for the owner.
  void ClickAt(TMouseButton Button, TShiftState Shift, int X, int Y);
  // A drag start and the click events for a press on Card, or the area or table click when Card
  // is nullptr. While a card is dragged or waits for the owner's answer every press is ignored.
  void PressCard(TMouseButton Button, int X, int Y, TCard* Card);
  // The mouse was taken away during a drag (the window lost the focus, a release went astray):
  // the drag ends as a release at the last position the table saw.
  void MouseCaptureLost();
  // Accepts the drop: the dragged card flies (Animate) or goes straight to (X, Y), turned by Angle,
  // and becomes the topmost card. Nothing when no card is dragged.
  void DropCard(int X, int Y, bool Animate = true, float Angle = 0);
  // Refuses the drop: the dragged card flies home, OnCardRestoredEvent is raised, and the card
  // goes back to its place in the list (or the stock) at its old angle. Nothing when no card is
  // dragged.
  void RestoreCard();
  // An animation (a move, a turn, a drop or a restore) is running.
  bool Animating() const { return FAnimating > 0; }

  // ---------------------------------------------------------------------------------------------
  // Background and places

  // Re-applies the picture, or the colour when there is none.
  void RefreshBackground();
  // The backdrop's refresh event: the gradient replaces any picture, or the colour comes back.
  void BackdropChanged();
  // The picture-open dialog; a chosen file becomes BackgroundPicture. False when cancelled.
  bool ChooseBackgroundPicture(const std::string& InitialDir = "");
  // The number of JPEG files decoded for the background so far.
  int JpegDecodeCount() const { return FJpegDecodeCount; }

  // 1, 21, 34, 35, 36, 37, 38 for kinds 0..6; 0 for any other kind.
  static int FirstPlaceIndex(int Kind);
  // Shows place FirstPlaceIndex(Kind) + Index - 1 of the deck at (X, Y), turned by Angle. Places
  // go under a dragged card but are not lifted under other cards.
  void ShowPlace(int Kind, int X, int Y, int Index, TCardDeck* Deck, float Angle, bool Update);
  void HidePlace(int Kind, int Index, TCardDeck* Deck, bool Update);
  // Hides every shown place of the deck, 38 down to 1, then paints.
  void HidePlaces(TCardDeck* Deck = nullptr);
  // Draws the shown places of the table's deck again with fresh save-unders.
  void RedrawPlaces();
  // The place's rectangle on the table (turned or upright).
  TRect PlaceRect(const TCardPlace& Place) const;
  // The picture a place shows, upright or turned: its own, or for the drop shade of the shadow
  // sets with drop angles the set's whole-card shadow.
  const TBitmap& PlacePicture(const TCardPlace& place, bool turned) const;

  // ---------------------------------------------------------------------------------------------
  // The settings file "Status.Dat"

  // Writes the table's published settings to Dir/"Status.Dat" (Dir empty: ProgramDir) through a
  // temporary file renamed into place, reusing the spelling of a file already there. Raises
  // EFileError when it cannot be written; the old file is then untouched.
  void SaveStatus(const std::string& Dir = "");
  // Reads Dir/"Status.Dat" (any case; Dir empty: ProgramDir) and applies its settings in file order
  // through the setters with ScreenUpdates off, then re-applies the background. Settings the table
  // does not know are skipped, and so are values of the wrong kind. A file that cannot be read is
  // renamed to "Status.Dat.bad" and changes nothing; a trace line tells of it.
  TStatusLoad LoadStatus(const std::string& Dir = "");
  // The file's bytes: the resource header and the component stream.
  std::string StatusData() const;
  // Applies the bytes of a settings file. Raises EReadError, having changed nothing, when they
  // cannot be read. Does not switch ScreenUpdates or re-apply the background.
  void ApplyStatusData(const std::string& Data);
  // The settings file in Dir as it is spelt on disk (or with its own spelling when it is missing).
  // Dir may also name the file itself (a path ending in ".dat", any case), for SaveStatus and
  // LoadStatus as well.
  std::string StatusFilePath(const std::string& Dir = "") const;

  // ---------------------------------------------------------------------------------------------
  // Sprite and table areas

  TSprite& Sprite() { return *FSprite; }
  // The table's one area (index 1); nullptr for any other index.
  TTableArea* TableArea(int Index);
  // Shows again the visible areas whose kind differs from Kind (below the cards) or equals it
  // (above the cards), then invalidates when ScreenUpdates is set.
  void ShowAreasBelowCards(int Kind, bool newBuffer = false);
  void ShowAreasAboveCards(int Kind, bool newBuffer = false);

 private:
  // Saves, sets and restores DisableCardClicks around an animation and counts it as running.
  class TAnimationScope {
   public:
    explicit TAnimationScope(TCardTable& table) : FTable(table), FSaved(table.DisableCardClicks) {
      table.DisableCardClicks = true;
      ++table.FAnimating;
    }
    ~TAnimationScope() {
      FTable.DisableCardClicks = FSaved;
      if (--FTable.FAnimating == 0) FTable.PresentPending();
    }
    TAnimationScope(const TAnimationScope&) = delete;
    TAnimationScope& operator=(const TAnimationScope&) = delete;

   private:
    TCardTable& FTable;
    bool FSaved;
  };

  void Construct(TTableSurface* surface, const std::string* cardsetsDir);
  // The dragged card leaves the buffer with its shadow, and the drop shade goes (a drop or a
  // restore starts so).
  void TakeUpDragCard(TCard* c, TCardDeck* d);
  TCardDeck* DeckOr(TCardDeck* deck) const { return deck ? deck : FCardDeck.get(); }
  void Trace(const std::string& line);
  // Tells the filer the names the table streams itself after its published properties (the
  // sixteen of kStatusCustomNames, in their order), each declared as having data.
  void DefineProperties(TStatusFiler& Filer) const;
  // Rebuilds the buffer when it no longer has the control's size.
  void RebuildIfResized();
  // A new buffer of the control's size (contents to be painted by the caller).
  void NewBuffer();
  // A hidden table that frees its buffer lets it go: true when the background must wait for the
  // table to show.
  bool BufferWaits();
  void DropCardsOf(TCardDeck* deck);
  void RemoveFromList(int index);
  // Moves a listed card to the top of the display list (the end); a card not listed stays so.
  void BringToTop(TCard* card);
  // The turn of LiftAndTurn, between the lift and the set-down.
  class TLiftShadow;
  void TurnLifted(TCard* card, TLiftShadow& shadow);
  void EraseStock(TCardDeck* deck, TRect& erased);
  // Drawn into the buffer without a copy to the screen (yet): a Paint during an animation shows it.
  void MarkUnshown(const TRect& r) { FUnshown = UnionRect(FUnshown, r); }
  // The whole-buffer paint of an animation step that drew `drawn`: during the animation that is
  // the step's rectangle with whatever else is owed to the screen.
  void PaintStep(const TRect& drawn);
  // The gathered screen copies of an animation: shown now, or when their frame is due.
  void PresentPending();
  void PresentIfDue();
  // Shows the gathered copies at once (the next frame's time is left alone); false when nothing
  // had to be sent.
  bool ShowGathered();
  // Shows rectangles of the buffer (inside it): with compare, the parts that differ from the screen.
  // False when nothing had to be sent.
  bool SendToScreen(const std::vector<TRect>& rects, bool compare = true);
  // Waits until the clock reads dueUs, showing gathered copies when their frame comes.
  void WaitUntilUs(uint64_t dueUs);
  // Ends a step of an animation that began at startUs: it lasts at least StepPeriodMs.
  void EndStep(uint64_t startUs);
  void RestoreRect(TCard* card, const TRect& r);
  void LiftCoveringFrom(TCard* card, const TRect& start, bool ignoreOverlaps, bool fresh, int& index,
                        TCardList& covering, TRect& bounds);
  // Places.
  TCardPlace* PlaceOf(int kind, int index, TCardDeck* deck);
  void DrawPlace(TCardPlace& place, TCardDeck* deck);
  void DrawHQShade(TCardPlace& place, TCardDeck* deck);
  bool DragCardDrawn() const;
  void TakeOffDragCard();
  void PutBackDragCard();
  bool LoadBackground(const std::string& name, TBitmap& picture);
  // Dragging.
  TCard* StartDrag(TCard* card, int x, int y);
  void DragStep(int x, int y);
  // The drag step that waits for the next frame, taken now.
  void TakeWaitingMove();
  void HideDropShade(TRect& dirty);
  void ShowDropShade(int index, TRect& dirty);
  void PlaceTurned(TCard* card, float angle);

  TTableSurface* FSurface = nullptr;
  std::unique_ptr<TTableSurface> FNullSurface;
  TCanvas FBufferCanvas{Buffer};
  std::unique_ptr<TCardDeck> FCardDeck;
  TBackdrop FBackDrop;
  std::unique_ptr<TSprite> FSprite;
  std::unique_ptr<TTableArea> FTableArea;

  int FLeft = 0, FTop = 0, FWidth = 500, FHeight = 400;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FScreenUpdates = false;
  // The table was hidden when its background was to be drawn: the buffer is empty until it shows.
  bool FBufferWaits = false;
  // Table coordinates the screen could not show while ScreenUpdates was off.
  TRect FMissed;

  TColor FColor = 0xFF8080;
  std::string FBackgroundPicture;
  bool FStretchBackground = false;
  TJPEGPerformance FJpegPerformance = jpBestQuality;
  // The decoded background JPEG, kept while the picture name does not change.
  TBitmap FJpegPicture;
  std::string FJpegName;
  int FJpegDecodeCount = 0;

  int FCardSpeed = 32;
  int FPlaceDeckOffset = 666;
  int FTurnOverAnimationSpeed = 8;
  int FAutoShadeMode = 3;
  int FHQDragShadeColour = 1;
  int FMinWidth = 500;
  int FMinHeight = 400;

  // The screen copies an animation gathered (kept apart while few: a card's path through one
  // frame is a band, not its bounding box), and when the next frame may be shown (ms).
  std::vector<TRect> FPendingScreen;
  // Drawn but not copied to the screen: a bounding rectangle, or the whole buffer (after an
  // Invalidate, a new buffer, or a spell with ScreenUpdates off).
  TRect FUnshown;
  bool FUnshownAll = false;
  uint64_t FNextPresent = 0;
  int FAnimating = 0;
  TPoint FLastMouse;
  // A drag step waiting for the next frame, to this position.
  TPoint FPendingMove;
  bool FMoveWaits = false;
  // The picture and angle each place's turned picture was rendered from.
  std::array<const TBitmap*, kPlaceCount + 1> FPlaceRotatedSource{};
  // Key of the cached high-quality drop shade: position, angle and upright or turned.
  float FHQShadeAngle = 0;
};
