#pragma once
// The four suit symbols as vector outlines, drawn by this generator's own code.

#include <QColor>
#include <QPainterPath>
#include <QPointF>

enum class TArtSuit { Clubs, Diamonds, Hearts, Spades };

// Outline of a suit symbol centred on (0, 0), 2 units high, point of the heart and diamond down
// (the upright orientation of a pip in the upper half of a card).
const QPainterPath& SuitPath(TArtSuit suit);
// Width of the symbol in the same units (2 = as wide as high).
double SuitAspect(TArtSuit suit);

// Draws the symbol filled with colour, centred on centre and height pixels high; upsideDown
// turns it by 180 degrees (pips of the lower half of a card).
class QPainter;
void DrawSuit(QPainter& p, TArtSuit suit, QPointF centre, double height, const QColor& colour,
              bool upsideDown = false);

bool IsRed(TArtSuit suit);
