#pragma once
// The seven special folders, resolved once at start. On Linux they come from the XDG user
// directories: documents, desktop and pictures from ~/.config/user-dirs.dirs (falling back to
// ~/Documents, ~/Desktop, ~/Pictures), roaming application data from $XDG_CONFIG_HOME
// (~/.config), local application data from $XDG_DATA_HOME (~/.local/share), program files from
// the install prefix. There is no common desktop: it stays empty. A folder that does not exist
// is still given when its parent exists; one that cannot be resolved is empty. No path has a
// trailing separator.

#include <string>

extern std::string MyDocumentsDir;
extern std::string DesktopDir;
extern std::string AppDataDir;
extern std::string CommonDesktopDir;
extern std::string LocalAppDataDir;
extern std::string ProgramFilesDir;
extern std::string MyPicturesDir;

// Folder identifiers as the programs know them.
enum : int {
  CSIDL_PERSONAL = 5,
  CSIDL_DESKTOPDIRECTORY = 16,
  CSIDL_APPDATA = 26,
  CSIDL_COMMON_DESKTOPDIRECTORY = 25,
  CSIDL_LOCAL_APPDATA = 28,
  CSIDL_PROGRAM_FILES = 38,
  CSIDL_MYPICTURES = 39,
};

std::string SpecialFolderPath(int csidl);
// Fills the seven strings; called first thing in main, before any window exists.
void InitSystemDirs();
void DoneSystemDirs();
