#include "patience/files/PlayerSearch.h"

#include "cardtable/SystemDirs.h"
#include "platform/core/Files.h"

int PlayerDatLocation(std::string* Path) {
  const struct {
    int Location;
    std::string Folder;
  } places[] = {
      {3, LocalAppDataDir.empty() ? std::string() : PathJoin(LocalAppDataDir, "Patience")},
      {2, MyDocumentsDir.empty() ? std::string() : PathJoin(MyDocumentsDir, "Patience")},
      {1, ProgramDir()},
  };
  for (const auto& p : places) {
    if (p.Folder.empty()) continue;
    const std::string file = PathJoin(p.Folder, "Player.dat");
    if (!FileExists(file)) continue;
    if (Path) *Path = ResolvePath(file);
    return p.Location;
  }
  return 0;
}
