#pragma once
// The part file of a download (the update on the desktop, the information file in the data
// folder) belongs to this program only while it is the file the program made: on the desktop a
// file of the same name may well be the player's. So the download records the part file it
// creates in the data folder ("updatepart.dat": its path, device, inode and birth time), and the
// record goes when the download has ended. A start that finds a record removes the file only
// while it is still that very file and no running download holds it.

#include <string>

inline constexpr const char* kUpdatePartRecord = "updatepart.dat";

// Records the part file just created at path, open as fd. False when the record could not be
// written (the part file is then simply left alone after a stop).
bool RecordUpdatePart(const std::string& dataFolder, const std::string& path, int fd);
// The download has ended: its part file is gone or has become the file it was for.
void ForgetUpdatePart(const std::string& dataFolder);
// At start-up: removes the recorded part file when it is still the one recorded and no download
// holds it, and then the record. True when something was removed.
bool RemoveUpdatePartLeftover(const std::string& dataFolder);
