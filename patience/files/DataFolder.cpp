#include "patience/files/DataFolder.h"

#include "cardtable/SystemDirs.h"
#include "platform/core/Files.h"

int DataLocation = 0;

std::string DataFolderOf(int location) {
  if (location == 3) return PathJoin(LocalAppDataDir, "Patience");
  if (location == 1) return ProgramDir();
  return PathJoin(MyDocumentsDir, "Patience");
}

std::string DataFolder() {
  return DataFolderOf(DataLocation);
}
