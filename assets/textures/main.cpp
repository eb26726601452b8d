// texturegen: draws the table textures that ship with the programs.
//
//   texturegen <Textures folder>      writes felt.jpg, wood.jpg, linen.jpg and slate.jpg into it
#include <cstdio>
#include <string>

#include "assets/textures/Textures.h"
#include "platform/core/Files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: texturegen <Textures folder>\n");
    return 2;
  }
  const std::string dir = argv[1];
  if (!ForceDirectories(dir)) {
    std::fprintf(stderr, "texturegen: cannot create %s\n", dir.c_str());
    return 1;
  }
  for (const TTexture& t : Textures()) {
    std::string error;
    if (!SaveJpeg(PathJoin(dir, t.FileName), t.Draw(), 90, error)) {
      std::fprintf(stderr, "texturegen: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
