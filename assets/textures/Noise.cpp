#include "assets/textures/Noise.h"

#include <cmath>

namespace {

uint32_t Mix(uint32_t h) {
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

float Smooth(float t) {
  return t * t * (3.0f - 2.0f * t);
}

}  // namespace

float PixelHash(int x, int y, uint32_t seed) {
  return float(Mix(uint32_t(x) * 0x9E3779B1u ^ Mix(uint32_t(y) + seed)) >> 8) / float(1u << 24);
}

TTileNoise::TTileNoise(int cells, int rows, uint32_t seed)
    : FCells(cells < 1 ? 1 : cells), FRows(rows < 1 ? 1 : rows) {
  FValues.resize(size_t(FCells) * size_t(FRows));
  for (int j = 0; j < FRows; ++j)
    for (int i = 0; i < FCells; ++i) FValues[size_t(j) * size_t(FCells) + size_t(i)] = PixelHash(i, j, seed);
}

float TTileNoise::Lattice(int i, int j) const {
  i %= FCells;
  j %= FRows;
  if (i < 0) i += FCells;
  if (j < 0) j += FRows;
  return FValues[size_t(j) * size_t(FCells) + size_t(i)];
}

float TTileNoise::At(float x, float y) const {
  const float fx = std::floor(x), fy = std::floor(y);
  const int i = int(fx), j = int(fy);
  const float tx = Smooth(x - fx), ty = Smooth(y - fy);
  const float a = Lattice(i, j), b = Lattice(i + 1, j), c = Lattice(i, j + 1), d = Lattice(i + 1, j + 1);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

TTileFbm::TTileFbm(int cells, int octaves, uint32_t seed) {
  for (int o = 0; o < octaves; ++o) FOctaves.emplace_back(cells << o, seed + 7919u * uint32_t(o));
}

float TTileFbm::At(float u, float v) const {
  float sum = 0, weight = 1, total = 0;
  for (const TTileNoise& n : FOctaves) {
    sum += weight * n.At(u * float(n.Cells()), v * float(n.Rows()));
    total += weight;
    weight *= 0.5f;
  }
  return total > 0 ? sum / total : 0.0f;
}
