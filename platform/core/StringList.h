#pragma once
// A list of text lines read and written whole. Files are written with CR LF line ends;
// reading accepts CR LF, LF or a lone CR, and a final line end adds no empty line.

#include <string>
#include <vector>

class TStringList {
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string> lines) : Lines(lines) {}

  std::vector<std::string> Lines;

  int Count() const { return int(Lines.size()); }
  void Clear() { Lines.clear(); }
  void Add(const std::string& s) { Lines.push_back(s); }
  void Insert(int index, const std::string& s);
  void Delete(int index);
  // Checked access: raises EListError outside 0..Count-1.
  const std::string& operator[](int index) const;
  std::string& operator[](int index);
  // Index of the first line equal to s ignoring ASCII case, or -1.
  int IndexOf(const std::string& s) const;

  // The lines joined with CR LF, each line terminated; a line break inside a line (each run of CR
  // and LF) is written as one blank, so that the line reads back as one line.
  std::string Text() const;
  void SetText(const std::string& text);

  // Raises EFileError when the file cannot be read.
  void LoadFromFile(const std::string& path);
  // Writes a temporary file beside the target and renames it into place, so a failed
  // write never leaves a half-written file. Raises EFileError on failure.
  void SaveToFile(const std::string& path) const;
  // As above, but reports failure instead of raising.
  bool TryLoadFromFile(const std::string& path);
  bool TrySaveToFile(const std::string& path) const;
};
