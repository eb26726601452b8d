#pragma once
// TFadeButton: a button on THarmFade. Its caption is drawn on two faces, the normal one in
// ColorFrom and the highlight in ColorTo, each a rectangle with a black outline (and a second
// black frame two pixels inside while the button is selected). At rest it shows the normal face;
// while the pointer is over it the highlight dissolves in.

#include <string>

#include "deckwright/HarmFade.h"

class TFadeButton : public THarmFade {
  Q_OBJECT
 public:
  explicit TFadeButton(QWidget* owner);

  const std::string& Caption() const { return FCaption; }
  // Draws both faces with the text and shows the normal one.
  void SetCaption(const std::string& text);
  bool Selected() const { return FSelected; }
  // A selected button rests on its highlight face, framed.
  void SetSelected(bool value);
  // Back to rest: the normal face shown, the highlight the one dissolved to.
  void RestoreFaces();

  const TBitmap& NormalFace() const { return FNormalFace; }
  const TBitmap& HighlightFace() const { return FHighlightFace; }

 private:
  TBitmap Face(TColor colour) const;
  std::string FCaption;
  bool FSelected = false;
  TBitmap FNormalFace, FHighlightFace;
};
