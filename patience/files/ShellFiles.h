#pragma once
// Copying and deleting lists of files and folders, as the data-folder move needs them.
//
// A copy puts every listed item into the destination under its own name: a folder "X" becomes
// Destination/X and merges with what is there, a file overwrites the one of the same name. Names
// are matched without regard to case on both sides, and a file that exists in the destination
// under another case keeps that spelling. A copy that fails part way takes back everything it
// created, so the destination is left as it was found (files it overwrote stay overwritten).

#include <functional>
#include <string>
#include <vector>

// What a copy created, newest last, so that a move that fails later can take it back too.
struct TCopyJournal {
  std::vector<std::string> Created;
  // Creates the folder and its missing parents, recording those it made; false when it cannot.
  bool MakeFolder(const std::string& path);
  // Removes what was created, newest first (folders only when empty), and forgets it.
  void Undo();
};

// Mode 1: copy the listed paths into Destination (created when missing); mode 0: delete them
// (Destination ignored). Result 0 on success, any other value on failure; an empty list or a
// mode above 1 gives 1 at once. A copy never goes onto its own source. With a journal a copy
// records what it created and leaves the undoing of a failure to the caller.
int ShellFiles(const std::vector<std::string>& List, const std::string& Destination, int Mode,
               TCopyJournal* Journal = nullptr);

// Tests: called before each file is copied (mode 1: source file, target file) and before each
// listed path is deleted (mode 0: the path, ""); answering false makes that step fail. An empty
// hook brings the plain operations back; returns the hook it replaced.
using TFileStepHook = std::function<bool(int Mode, const std::string& Source, const std::string& Target)>;
TFileStepHook SetFileStepHookForTesting(TFileStepHook hook);

// Both name one existing folder, however spelled (case, separators, links); false when either
// does not exist.
bool SameFolder(const std::string& a, const std::string& b);
// Removes the folder only when it is empty; errors ignored.
void RemoveEmptyFolder(const std::string& path);
