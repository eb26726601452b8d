#pragma once
// The table textures that ship in the program folder's "Textures": each drawn by code, each tiling
// without a seam (the table tiles its background picture from the top-left corner).

#include <cstdint>
#include <string>
#include <vector>

struct TRgbImage {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Pixels;  // red, green, blue per pixel, rows top down
  TRgbImage(int w, int h) : Width(w), Height(h), Pixels(size_t(w) * size_t(h) * 3) {}
  void Set(int x, int y, float r, float g, float b);
};

struct TTexture {
  std::string FileName;  // "felt.jpg", ...
  TRgbImage (*Draw)();
};

// Every texture the program folder gets.
const std::vector<TTexture>& Textures();

TRgbImage DrawFelt();
TRgbImage DrawWood();
TRgbImage DrawLinen();
TRgbImage DrawSlate();

// Writes a baseline JPEG; false (with the reason in error) when it cannot.
bool SaveJpeg(const std::string& path, const TRgbImage& image, int quality, std::string& error);
