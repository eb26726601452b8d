#pragma once
// A compiled HTML help file, read only: its objects by path (found without regard to case, with
// "\" taken as "/"), the names its "#SYSTEM" record gives (contents file, index file, default
// topic, title) and the list of its pages. chmlib finds the objects and reads the stored ones;
// the compressed ones are decompressed here (Lzx.h), so a damaged frame gives the same answer at
// every reading: none. An object is used by one thread at a time.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

class TChmFile {
 public:
  // Opens the file; Ok() tells whether it is a help file that could be read. A damaged file (one
  // that fails CheckChmStructure) is not opened; Problem() says why.
  explicit TChmFile(const std::string& path);
  ~TChmFile();
  TChmFile(const TChmFile&) = delete;
  TChmFile& operator=(const TChmFile&) = delete;

  bool Ok() const { return FFile != nullptr; }
  const std::string& Path() const { return FPath; }
  const std::string& Problem() const { return FProblem; }

  // The object's bytes; none when the file holds no such object or it cannot be read whole.
  std::optional<std::string> Read(const std::string& objectPath) const;
  bool Has(const std::string& objectPath) const;

  // From "#SYSTEM"; empty when the file does not say. Paths begin with "/".
  const std::string& ContentsFile() const { return FContents; }
  const std::string& IndexFile() const { return FIndex; }
  const std::string& DefaultTopic() const { return FDefaultTopic; }
  const std::string& Title() const { return FTitle; }

  // Every object whose name ends in ".htm" or ".html", in the file's order.
  std::vector<std::string> Pages() const;

  // "html\pati4p2c.htm", "/html/pati4p2c.htm" and "html/pati4p2c.htm" all give
  // "/html/pati4p2c.htm"; "." and ".." steps are resolved and never climb above the root.
  static std::string NormalisePath(const std::string& path);

 private:
  void ReadSystem();

  struct TSection;
  std::optional<std::string> ReadCompressed(uint64_t start, uint64_t length) const;

  std::string FPath;
  std::string FProblem;
  uint64_t FUncompressed = 0;
  chmFile* FFile = nullptr;
  std::unique_ptr<TSection> FSection;
  std::string FContents, FIndex, FDefaultTopic, FTitle;
};
