#pragma once
// Value noise that repeats: a lattice of random values with wrap-around, so a picture drawn from it
// tiles without seams. Coordinates are in lattice cells; one period is `cells` cells across (and
// `rows` cells down, when the lattice is not square).

#include <cstdint>
#include <vector>

class TTileNoise {
 public:
  TTileNoise(int cells, uint32_t seed) : TTileNoise(cells, cells, seed) {}
  TTileNoise(int cells, int rows, uint32_t seed);
  // Smoothly interpolated value in [0, 1] at (x, y), repeating every Cells() cells across and
  // Rows() cells down.
  float At(float x, float y) const;
  int Cells() const { return FCells; }
  int Rows() const { return FRows; }

 private:
  float Lattice(int i, int j) const;
  int FCells;
  int FRows;
  std::vector<float> FValues;
};

// Sum of octaves at u, v in [0, 1): the first with `cells` cells across the tile, each further one
// with twice as many and half the weight. Result in [0, 1]. Tiles seamlessly.
class TTileFbm {
 public:
  TTileFbm(int cells, int octaves, uint32_t seed);
  float At(float u, float v) const;

 private:
  std::vector<TTileNoise> FOctaves;
};

// A repeatable hash of a pixel position in [0, 1) (for fine grain).
float PixelHash(int x, int y, uint32_t seed);
