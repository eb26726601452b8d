#pragma once
// Contact sheets for looking at a card set: every picture of the set drawn on green cloth the
// way the table combines it, at natural size and enlarged (nearest-neighbour).

#include <QImage>
#include <string>

QImage MakeContactSheet(const std::string& setDir, double enlarged);
