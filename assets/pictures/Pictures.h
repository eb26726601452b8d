#pragma once
// The pictures beside the game program: the game previews "GameImages/<n>.jpg" (each game's
// opening deal, dealt by the play engine on the generated card set), the start screen's strip
// "qv3.jpg", the slide show's "Big.jpg", the window's "backdrop.jpg" and the information
// overlay's "info.bmp". All of it is drawn here.

#include <QImage>
#include <string>

// Sizes the program expects.
inline constexpr int kPreviewWidth = 402, kPreviewHeight = 290;   // GameImages/<n>.jpg
inline constexpr int kStripFrameWidth = 402, kStripHeight = 144;  // qv3.jpg: two frames side by side
inline constexpr int kSlidePanelWidth = 320, kSlideHeight = 480;  // Big.jpg: eight panels
inline constexpr int kSlidePanels = 8;
inline constexpr int kBackdropWidth = 1600, kBackdropHeight = 1000;
inline constexpr int kInfoWidth = 320, kInfoHeight = 440;  // text from y 260 down

// A card of a set folder as a picture with the card's shape as its alpha ("01s", "Back1", ...).
QImage LoadCard(const std::string& setDir, const std::string& name);

QImage DrawStrip(const std::string& setDir);
QImage DrawSlides(const std::string& setDir);
QImage DrawBackdrop();
QImage DrawInfoPanel(const std::string& setDir);

// Writes "GameImages/<n>.jpg" into programDir for every picture number of the catalogue; returns
// how many were written.
int WriteGamePreviews(const std::string& programDir, const std::string& cardsetsDir);
