#include "patience/ui/Flourish.h"

#include <QTimer>
#include <algorithm>

#include "cardtable/CardTable.h"
#include "cardtable/MyGrphx.h"
#include "patience/ui/ShowCanvas.h"
#include "platform/core/Random.h"
#include "platform/graphics/Raster.h"
#include "platform/ui/Application.h"

TFlourish::TFlourish(TCardTable* table, TShowCanvas* canvas)
    : Table(table), Canvas(canvas), FTimer(std::make_unique<QTimer>()) {
  FTimer->setInterval(Interval);
  QObject::connect(FTimer.get(), &QTimer::timeout, [this] { Tick(); });
}

TFlourish::~TFlourish() = default;

TRect TFlourish::WindowRect() const {
  return TRect(Table->Left() + Left, Table->Top() + Top, Table->Left() + Right, Table->Top() + Bottom);
}

void TFlourish::Stop() {
  if (!Running) return;
  FTimer->stop();
  Running = false;
  Canvas->Uncover(WindowRect());
  // The table shows again before anything goes on; clicks wait.
  Application().ProcessPaintMessages();
}

void TFlourish::Start(const TRect& r) {
  if (!Enabled) return;
  Stop();
  // Only what the table's buffer holds can sparkle.
  const TRect cut(std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, Table->Buffer.Width()),
                  std::min(r.Bottom, Table->Buffer.Height()));
  if (cut.Right <= cut.Left || cut.Bottom <= cut.Top) return;
  Bitmap.SetSize(cut.Width(), cut.Height());
  Left = cut.Left;
  Top = cut.Top;
  Right = cut.Right;
  Bottom = cut.Bottom;
  FrameCount = 0;
  FTimer->setInterval(Interval);
  FTimer->start();
  Running = true;
}

void TFlourish::SetInterval(int n) {
  if (n > 0) Interval = n;
}

void TFlourish::SetFrames(int n) {
  if (n > 0) Frames = n;
}

void TFlourish::SetSparksPerFrame(int n) {
  if (n > 0) SparksPerFrame = n;
}

void TFlourish::SetMaxRadius(int n) {
  if (n > 0) MaxRadius = n;
}

void TFlourish::SetEnabled(bool value) {
  if (value == Enabled) return;
  Enabled = value;
  if (!value) Stop();
}

void TFlourish::Tick() {
  if (!Running) return;
  BitBlt(Bitmap, 0, 0, Bitmap.Width(), Bitmap.Height(), Table->Buffer, Left, Top);
  TRandom& random = ProgramRandom();
  TLightData table;
  for (int i = 0; i < SparksPerFrame; ++i) {
    const int r = random.Random(MaxRadius) + 3;
    MakeDistanceTable(r, table);
    const int y = random.Random(Bitmap.Height() - 2 * r) + r;
    const int x = random.Random(Bitmap.Width() - 2 * r) + r;
    BlendRadialGlow(x, y, r, Colour, 80, table, Bitmap);
  }
  const TRect w = WindowRect();
  BitBlt(Canvas->Bitmap(), w.Left, w.Top, Bitmap.Width(), Bitmap.Height(), Bitmap, 0, 0);
  Canvas->Flush(w);
  if (++FrameCount >= Frames) {
    FTimer->stop();
    Running = false;
    // The untouched table shows again.
    Canvas->Uncover(w);
  }
}
