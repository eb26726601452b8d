// The winning show (WinAnim): after a won game (or when the player asks to see it) the window
// shakes and then plays the show chosen by options line 3. Everything runs inside this one call,
// drawn on the window's canvas over the whole window, in frames of the program's clock that
// let the window's messages through; the window's own look comes back at the end.
//
// While it runs the game is busy (closing waits), the game toolbar's Tag is 1 and the menu bar
// and the table take no clicks. A scope puts all of that back on every way out: the end of a
// show, a picture or a face that cannot be read, a close of the window, which ends the show at
// its next frame and then asks its question. Looped sounds are stopped on the way out too.
//
// Frames: one every 16 ms (a display frame), whatever the show's own step; the Part's waits of
// "at least 1 ms" are these frames, so the shows last and look the same on every machine.
// Every random number comes from the effects' generator, never the deal's. A show whose picture
// is missing is left out (traced); the rest of the celebration goes on.

#include <QTimer>
#include <algorithm>
#include <set>
#include <stdexcept>

#include "cardtable/Backdrop.h"
#include "cardtable/CardTable.h"
#include "cardtable/CardTableWidget.h"
#include "patience/files/Trace.h"
#include "patience/ui/Flourish.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MergePic.h"
#include "patience/ui/ShowCanvas.h"
#include "patience/ui/Starfield.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/Random.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Raster.h"
#include "platform/ui/Application.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"

namespace {

constexpr int kFrameMs = 16;
constexpr double kPi = 3.14159265358979323846;

// Everything a show changes in the window, put back however it ends.
class TShowScope {
 public:
  explicit TShowScope(TForm1& form, bool& running, bool& stop)
      : FForm(form),
        FRunning(running),
        FStop(stop),
        FBusy(form.Engine->Busy),
        FTag(form.ToolBarTag),
        FBar(form.ToolBar1->isEnabled()),
        FTable(form.CardTable1View->isEnabled()) {
    FRunning = true;
    FStop = false;
    form.Engine->Busy = true;
  }
  ~TShowScope() {
    for (const std::string& name : Looped) FForm.StopSound(name);
    FForm.EffectsCanvas->UncoverAll();
    if (FForm.CardTable1) FForm.CardTable1->Invalidate();
    FForm.CardTable1View->setEnabled(FTable);
    FForm.ToolBar1->setEnabled(FBar);
    FForm.ToolBarTag = FTag;
    FForm.Engine->Busy = FBusy;
    FRunning = false;
    FStop = false;
  }
  TShowScope(const TShowScope&) = delete;
  TShowScope& operator=(const TShowScope&) = delete;

  // The sounds playing in a loop.
  std::set<std::string> Looped;

 private:
  TForm1& FForm;
  bool& FRunning;
  bool& FStop;
  bool FBusy;
  int FTag;
  bool FBar;
  bool FTable;
};

class TWinShow {
 public:
  TWinShow(TForm1& form, TShowScope& scope, const bool& stop)
      : F(form), Scope(scope), Stop(stop), Canvas(*form.EffectsCanvas), Table(*form.CardTable1) {
    const TStringList& history = form.Engine->HistoryList;
    Open = history.Count() < 3 || history[2] != "0";
  }

  void Run();

 private:
  // Whole seconds since start on the program's clock.
  static int Seconds(uint64_t start) { return int((Clock().NowMs() - start) / 1000); }
  // The window's messages, then the wait for the next frame.
  void NextFrame();
  // Waits ms in frames.
  void Wait(int ms);
  bool Going() const { return !Stop && !Application().Terminated(); }
  void Sound(const std::string& name, int mode) {
    if (mode == 3) Scope.Looped.insert(name);
    F.Sound(name, mode, 100);
  }
  void SoundStop(const std::string& name) {
    Scope.Looped.erase(name);
    F.StopSound(name);
  }
  void Music();
  TRect Client() const { return TRect(0, 0, Canvas.Bitmap().Width(), Canvas.Bitmap().Height()); }
  TRect TableRect() const {
    return TRect(Table.Left(), Table.Top(), Table.Left() + Table.Width(), Table.Top() + Table.Height());
  }
  std::string ProgramFile(const std::string& name) const { return PathJoin(Table.ProgramDir, name); }

  void CentreCard();
  void WaitForSparkle();
  void Shake();
  void SlideShow();
  void CoolColours();
  void Scribble();
  void Stars();
  void CardFill();
  void ZoomCard(TCard* card, int ms, float step);

  TForm1& F;
  TShowScope& Scope;
  const bool& Stop;
  TShowCanvas& Canvas;
  TCardTable& Table;
  bool Open = true;
  uint64_t FNextFrame = 0;
};

void TWinShow::NextFrame() {
  Application().ProcessMessages();
  const uint64_t now = Clock().NowMs();
  if (FNextFrame <= now) FNextFrame = now + kFrameMs;
  Sleep(int(FNextFrame - now));
  FNextFrame += kFrameMs;
}

void TWinShow::Wait(int ms) {
  const uint64_t until = Clock().NowMs() + uint64_t(ms);
  while (Going()) {
    Application().ProcessMessages();
    const uint64_t now = Clock().NowMs();
    if (now >= until) break;
    Sleep(int(std::min<uint64_t>(until - now, kFrameMs)));
  }
}

void TWinShow::Music() {
  F.WaitForSounds();
  if (F.Sounds.SoundViaBass)
    F.Stream("New-5848.mp3", 1);
  else
    Sound("spaced.wav", 1);
}

void TWinShow::ZoomCard(TCard* card, int ms, float step) {
  TSprite& sprite = Table.Sprite();
  sprite.Angle = 0;
  sprite.Zoom(card, ms, step, false);
}

// "The Clock" and "The Dial": the centre card grows, then spins.
void TWinShow::CentreCard() {
  const std::string& game = F.Engine->Rules.GameName;
  if (game != "The Clock" && game != "The Dial") return;
  const auto& piles = F.Engine->Rules.FoundationPiles;
  // The demonstration on an empty table has no centre card.
  if (piles.size() <= 12 || piles[12].size() <= 2) return;
  TCard* card = piles[12][2];
  if (!card || !card->Displayed) return;
  TSprite& sprite = Table.Sprite();
  sprite.Angle = 0;
  if (Open) Sound("spaced.wav", 1);
  sprite.Zoom(card, 600, 0.005f, false);
  if (Open) Sound("spaced.wav", 1);
  sprite.Spin(card, 2000, float(-kPi / 24));
}

// The sparkle of the last card ends first (it shows over the table the shake copies).
void TWinShow::WaitForSparkle() {
  TFlourish& sparkle = *F.flourish;
  uint64_t last = Clock().NowMs();
  int count = sparkle.FrameCount;
  while (sparkle.Running && Going()) {
    NextFrame();
    // The timer runs on real time; when it is a frame late by the program's
    // clock, the frame is drawn here.
    const uint64_t now = Clock().NowMs();
    if (sparkle.FrameCount != count) {
      count = sparkle.FrameCount;
      last = now;
    } else if (now - last >= uint64_t(sparkle.Interval + kFrameMs)) {
      sparkle.Tick();
      count = sparkle.FrameCount;
      last = now;
    }
  }
  sparkle.Stop();
}

void TWinShow::Shake() {
  const TRect t = TableRect();
  const uint64_t start = Clock().NowMs();
  do {
    BitBlt(Canvas.Bitmap(), t.Left + 5, t.Top + 5, t.Width() - 5, t.Height() - 5, Table.Buffer, 0, 0);
    Canvas.Flush(t);
    Wait(50);
    BitBlt(Canvas.Bitmap(), t.Left, t.Top, t.Width(), t.Height(), Table.Buffer, 0, 0);
    Canvas.Flush(t);
    Wait(50);
  } while (Going() && Seconds(start) < 3);
}

// The slide show: the panels of "Big.jpg" fade in one after another, then (in an open game) the
// view pans back over the picture.
void TWinShow::SlideShow() {
  const std::string file = ProgramFile("Big.jpg");
  if (!FileExists(file)) {
    ::Trace("Slide skipped: no Big.jpg");
    return;
  }
  TMergePic fader;
  fader.Strips = 8;
  fader.StepsPerStrip = 10;
  fader.Interval = 100;
  fader.LoadPicture(ResolvePath(file));
  fader.OnPaint = [this](const TRect& r) { Canvas.Flush(r); };
  const TRect client = Client();
  fader.Start(&Canvas.Bitmap(), 0, 0, client.Width(), client.Height());
  Sound("spaced.wav", 1);
  int strip = fader.Strip, steps = fader.StepCount;
  uint64_t last = Clock().NowMs();
  while (fader.Running && Going()) {
    NextFrame();
    // The fader's timer runs on real time; when it is a frame late by the
    // program's clock, the step is taken here.
    const uint64_t now = Clock().NowMs();
    if (fader.Running && fader.Strip == strip && fader.StepCount == steps &&
        now - last >= uint64_t(fader.Interval + kFrameMs))
      fader.Tick();
    if (fader.Strip != strip || fader.StepCount != steps) last = now;
    if (fader.Running && fader.Strip != strip) Sound("spaced.wav", 1);
    strip = fader.Strip;
    steps = fader.StepCount;
  }
  fader.Stop();
  if (Open) {
    // A panel of the strip wide, from the last panel back towards the first.
    const uint64_t start = Clock().NowMs();
    for (int c = (fader.Bitmap.Width() / 8) * 7; Going(); --c) {
      StretchBlt(Canvas.Bitmap(), 0, 0, client.Width(), client.Height(), fader.Bitmap, c - 1, 0, 320, 480);
      Canvas.FlushAll();
      NextFrame();
      if (c <= 1 || Seconds(start) >= 7) break;
    }
  }
  Canvas.UncoverAll();
  Table.Invalidate();
}

// "Cool Colours": two gradient pictures revealed from the centre, one after the other.
void TWinShow::CoolColours() {
  TBitmap qv3;
  const std::string qv3File = ProgramFile("qv3.jpg");
  if (!FileExists(qv3File)) {
    ::Trace("New skipped: no qv3.jpg");
    return;
  }
  qv3.LoadFromFile(ResolvePath(qv3File));
  // The picture of the game, as the start screen shows it.
  TBitmap picture;
  const std::string gameFile =
      ProgramFile("GameImages/" + std::to_string(F.Engine->Rules.GamePicture) + ".jpg");
  try {
    if (FileExists(gameFile))
      picture.LoadFromFile(ResolvePath(gameFile));
    else
      picture = qv3;
  } catch (const std::exception& e) {
    ::Trace(std::string("Game picture not read: ") + e.what());
  }
  const int W = Canvas.Bitmap().Width(), H = Canvas.Bitmap().Height();
  TBitmap pictures[2] = {TBitmap(W, H), TBitmap(W, H)};
  FillGradientRect(pictures[0], TRect(0, 0, W, H), 0xFFFFFF, 0x968C6E, TGradientStyle::gsHorizontal);
  FillGradientRect(pictures[1], TRect(0, 0, W, H), 0xAAAAFF, 0xFFFFFF, TGradientStyle::gsHorizontal);
  for (TBitmap& b : pictures) {
    if (!picture.Empty()) Draw(b, 400, 400, picture);
    Draw(b, 100, 100, qv3);
  }
  Music();
  const uint64_t start = Clock().NowMs();
  for (int k = 0; Going(); k ^= 1) {
    int w = 100, h = 60;
    int x = int(std::nearbyint(W / 2.0)) - 50, y = int(std::nearbyint(H / 2.0)) - 20;
    do {
      w += 10;
      h += 10;
      x -= 5;
      if (x < 0) {
        x = 0;
        w = W;
      }
      y -= 5;
      if (y < 0) {
        y = 0;
        h = H;
      }
      BitBlt(Canvas.Bitmap(), x, y, w, h, pictures[k], x, y);
      Canvas.Flush(TRect(x, y, x + w, y + h));
      NextFrame();
    } while (!(x == 0 && y == 0) && Going());
    if (Seconds(start) >= 10) break;
  }
  Canvas.UncoverAll();
  Table.Invalidate();
  if (!Open || !Going()) return;
  TCard* card = Table.CardDeck()->Cards[1].get();
  if (!card) return;
  // The card flies back to its own place afterwards.
  const int oldX = card->X, oldY = card->Y;
  card->X = int(std::nearbyint(W / 2.0)) - Table.CardDeck()->CardWidth;
  card->Y = int(std::nearbyint(H / 2.0)) - Table.CardDeck()->CardHeight;
  Sound("claps.wav", 1);
  ZoomCard(card, 2000, 0.01f);
  card->X = oldX;
  card->Y = oldY;
}

// Lines of random colours between random points.
void TWinShow::Scribble() {
  // Lines a frame: a dense scribble within the show's seconds.
  constexpr int kLinesPerFrame = 24;
  const int duration = Open ? 7 : 2;
  TCanvas pen(Canvas.Bitmap());
  pen.Pen.Width = 1;
  pen.Pen.Style = TPenStyle::psSolid;
  Music();
  TRandom& random = ProgramRandom();
  const int W = Canvas.Bitmap().Width(), H = Canvas.Bitmap().Height();
  const uint64_t start = Clock().NowMs();
  while (Going() && Seconds(start) < duration) {
    for (int i = 0; i < kLinesPerFrame; ++i) {
      const int r = random.Random(255), g = random.Random(255), b = random.Random(255);
      pen.Pen.Color = TColor(r | (g << 8) | (b << 16));
      const int y1 = random.Random(H), x1 = random.Random(W);
      const int y2 = random.Random(H), x2 = random.Random(W);
      pen.MoveTo(x1, y1);
      pen.LineTo(x2, y2);
    }
    Canvas.FlushAll();
    NextFrame();
  }
}

void TWinShow::Stars() {
  ::Trace("I See Stars started");
  if (Open) {
    ::Trace("Full Stars started");
    Sound("Crystal_Whoosh_01.wav", 3);
    // Space first: the stars fly on black.
    FillRect(Canvas.Bitmap(), Client(), clBlack);
    InitStarfield(Canvas.Bitmap().Width(), Canvas.Bitmap().Height());
    ::Trace("Stars initialised and started");
    const uint64_t start = Clock().NowMs();
    while (Going() && Seconds(start) < 17) {
      DrawStarfieldFrame(Canvas.Bitmap());
      Canvas.FlushAll();
      NextFrame();
    }
    ::Trace("Sound ufo");
    SoundStop("Crystal_Whoosh_01.wav");
    if (Going()) Sound("ufo_x.wav", 1);
    ::Trace("Stars to whiteout");
    while (Going() && Seconds(start) < 22) {
      DrawStarfieldTrails(Canvas.Bitmap());
      Canvas.FlushAll();
      NextFrame();
    }
    ::Trace("Stars finished");
  }
  CardFill();
}

// Every face of the card set in turn tiled over the window.
void TWinShow::CardFill() {
  if (!Going()) return;
  ::Trace("Card fill started");
  Sound("beepspac.wav", 3);
  const TCardDeck& deck = *Table.CardDeck();
  const TRect client = Client();
  const TRect t = TableRect();
  for (int value = 0; value < 13 && Going(); ++value) {
    for (TCardSuit suit : {csClub, csDiamond, csHeart, csSpade}) {
      if (!Going()) break;
      Application().ProcessMessages();
      const std::string file = FaceFileName(suit, value);
      std::string path = PathJoin(deck.CardsetsDir, deck.DeckName, file);
      if (!deck.UserCardsetsDir.empty() && FileExists(PathJoin(deck.UserCardsetsDir, deck.DeckName, file)))
        path = PathJoin(deck.UserCardsetsDir, deck.DeckName, file);
      TBitmap face;
      try {
        face.LoadFromFile(ResolvePath(path));
      } catch (const std::exception& e) {
        ::Trace("Card fill: " + file + " not read: " + e.what());
        continue;
      }
      const int step = std::max(face.Width() / 2, 1);
      for (int y = t.Top; y < client.Bottom; y += std::max(face.Height(), 1))
        for (int x = t.Left; x < client.Right; x += step)
          BitBlt(Canvas.Bitmap(), x, y, face.Width(), face.Height(), face, 0, 0);
      Canvas.Flush(TRect(t.Left, t.Top, client.Right, client.Bottom));
      Wait(100);
    }
  }
  ::Trace("Card fill ended");
  SoundStop("beepspac.wav");
  Application().ProcessMessages();
  if (Going()) Sound("thunder_x.wav", 2);
  Canvas.UncoverAll();
  Table.Invalidate();
}

void TWinShow::Run() {
  CentreCard();
  WaitForSparkle();
  ::Trace("No Flourish is animating");
  const std::string kind = F.OptionLine(3);
  if (kind == "None") {
    ::Trace("WinAim is None");
    Sound(Open ? "congrat.wav" : "explosion.wav", 2);
    ::Trace("Exit WinAnim no animation set");
    return;
  }
  F.ToolBarTag = 1;
  F.ToolBar1->setEnabled(false);
  // The window as it looks now is where the show starts.
  const QImage look = F.grab().toImage();
  Canvas.Bitmap().FromQImage(look.scaled(Canvas.Bitmap().Width(), Canvas.Bitmap().Height()));
  Sound("explosion.wav", 1);
  Shake();
  ::Trace("Explosion & shake finished");
  if (!Going()) return;
  if (kind == "Slide") {
    ::Trace("Slide Show");
    SlideShow();
  } else if (kind == "New") {
    ::Trace("New");
    CoolColours();
  } else if (kind == "Scribble") {
    ::Trace("Scribble");
    Scribble();
  } else if (kind == "Stars") {
    Stars();
  }
  Canvas.UncoverAll();
  Table.Invalidate();
  if (Open && Going()) {
    ::Trace("Congrat sound started");
    Sound("congrat.wav", 2);
    ::Trace("Congrat sound finished");
  }
}

}  // namespace

void TForm1::WinAnim() {
  if (FShowRunning || !Engine || !CardTable1 || !EffectsCanvas) return;
  {
    TShowScope scope(*this, FShowRunning, FShowStop);
    if (ReDealButton2->isEnabled()) {
      ReDealButton2->setEnabled(false);
      ReDealButton2->hide();
      if (Redealwastepile1) Redealwastepile1->SetEnabled(false);
    }
    CardTable1View->setEnabled(false);
    ::Trace("Start WinAnim");
    try {
      TWinShow show(*this, scope, FShowStop);
      show.Run();
    } catch (const std::exception& e) {
      ::Trace(std::string("WinAnim ended by an error: ") + e.what());
    }
    ::Trace("Exit WinAnim");
  }
  if (FCloseAfterShow) {
    FCloseAfterShow = false;
    QTimer::singleShot(0, this, [this] { close(); });
  }
}

void TForm1::CreateEffects() {
  EffectsCanvas = new TShowCanvas(this);
  flourish = std::make_unique<TFlourish>(CardTable1.get(), EffectsCanvas);
}

void TForm1::Sparkle(const TRect& r, TColor colour) {
  if (!flourish) return;
  flourish->SetInterval(100);
  flourish->Colour = colour;
  flourish->SetSparksPerFrame(14);
  flourish->SetMaxRadius(5);
  flourish->SetFrames(35);
  flourish->Start(r);
}

// -----------------------------------------------------------------------------------------------
// Options > Winning Animation

void TForm1::BuildWinAnimMenu() {
  WinningAnimation1 = Options1->Add("WinningAnimation1", "Winning Animation");
  const struct {
    TMenuItem** Item;
    const char* Name;
    const char* Caption;
    void (TForm1::*Click)();
  } items[] = {
      {&Iseestars1, "Iseestars1", "I See Stars", &TForm1::Iseestars1Click},
      {&None1, "None1", "None", &TForm1::None1Click},
      {&Scribble1, "Scribble1", "Scribble", &TForm1::Scribble1Click},
      {&New1, "New1", "Cool Colours", &TForm1::New1Click},
      {&SlideShow1, "SlideShow1", "Slide Show", &TForm1::SlideShow1Click},
  };
  for (const auto& i : items) {
    *i.Item = WinningAnimation1->Add(i.Name, i.Caption);
    (*i.Item)->OnClick = [this, click = i.Click](TMenuItem&) { (this->*click)(); };
  }
}

void TForm1::CheckWinAnim(TMenuItem* item, const std::string& value, const std::string& trace) {
  for (TMenuItem* i : {Iseestars1, None1, Scribble1, New1, SlideShow1}) i->SetChecked(i == item);
  SetOptionLine(3, value);
  ::Trace(trace);
}

void TForm1::Iseestars1Click() {
  CheckWinAnim(Iseestars1, "Stars", "I see stars WinAnim on");
}

void TForm1::None1Click() {
  CheckWinAnim(None1, "None", "None WinAnim on");
}

void TForm1::Scribble1Click() {
  CheckWinAnim(Scribble1, "Scribble", "Scribble WinAnim on");
}

void TForm1::New1Click() {
  CheckWinAnim(New1, "New", "New WinAnim on");
}

void TForm1::SlideShow1Click() {
  CheckWinAnim(SlideShow1, "Slide", "Slide Show WinAnim on");
}

void TForm1::ApplyWinAnimOption() {
  const std::string v = OptionLine(3);
  if (v == "None")
    None1Click();
  else if (v == "Scribble")
    Scribble1Click();
  else if (v == "New")
    New1Click();
  else if (v == "Slide")
    SlideShow1Click();
  else
    Iseestars1Click();
}
