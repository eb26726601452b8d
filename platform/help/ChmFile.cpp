#include "platform/help/ChmFile.h"

#include <chm_lib.h>

#include <algorithm>
#include <cctype>

#include "platform/help/ChmCheck.h"

TChmFile::TChmFile(const std::string& path) : FPath(path) {
  const std::optional<TChmStructure> structure = CheckChmFile(path, FProblem);
  if (!structure) return;
  FUncompressed = structure->Uncompressed;
  FFile = chm_open(path.c_str());
  if (!FFile) {
    FProblem = "not a help file";
    return;
  }
  ReadSystem();
}

TChmFile::~TChmFile() {
  if (FFile) chm_close(FFile);
}

std::string TChmFile::NormalisePath(const std::string& path) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= p.size()) {
    const size_t j = std::min(p.find('/', i), p.size());
    const std::string part = p.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  return out.empty() ? "/" : out;
}

std::optional<std::string> TChmFile::Read(const std::string& objectPath) const {
  if (!FFile) return std::nullopt;
  const std::string path = objectPath.rfind("::", 0) == 0 ? objectPath.substr(2) : objectPath;
  const std::string name = path.rfind("#", 0) == 0 ? path : NormalisePath(path);
  chmUnitInfo ui{};
  if (chm_resolve_object(FFile, name.c_str(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  // The check at opening kept every object inside the file or its compressed section; this keeps
  // the allocation below to what the object can really hold, whatever the file turned into since.
  if (ui.space == CHM_COMPRESSED && (ui.start > FUncompressed || ui.length > FUncompressed - ui.start))
    return std::nullopt;
  if (ui.space != CHM_COMPRESSED && ui.space != CHM_UNCOMPRESSED) return std::nullopt;
  std::string data(size_t(ui.length), '\0');
  if (ui.length == 0) return data;
  const LONGINT64 got =
      chm_retrieve_object(FFile, &ui, reinterpret_cast<unsigned char*>(data.data()), 0, LONGINT64(ui.length));
  if (got != LONGINT64(ui.length)) return std::nullopt;
  return data;
}

bool TChmFile::Has(const std::string& objectPath) const {
  if (!FFile) return false;
  chmUnitInfo ui{};
  return chm_resolve_object(FFile, NormalisePath(objectPath).c_str(), &ui) == CHM_RESOLVE_SUCCESS;
}

void TChmFile::ReadSystem() {
  // A 4-byte version, then records of (16-bit code, 16-bit length, data); strings end in a NUL.
  const std::optional<std::string> sys = Read("/#SYSTEM");
  if (!sys) return;
  const std::string& s = *sys;
  auto u16 = [&](size_t at) { return unsigned(uint8_t(s[at])) | unsigned(uint8_t(s[at + 1])) << 8; };
  size_t at = 4;
  while (at + 4 <= s.size()) {
    const unsigned code = u16(at), length = u16(at + 2);
    at += 4;
    if (at + length > s.size()) break;
    std::string text = s.substr(at, length);
    text = text.substr(0, text.find('\0'));
    at += length;
    if (code == 0)
      FContents = NormalisePath(text);
    else if (code == 1)
      FIndex = NormalisePath(text);
    else if (code == 2)
      FDefaultTopic = NormalisePath(text);
    else if (code == 3)
      FTitle = text;
  }
}

namespace {

int CollectPage(chmFile*, chmUnitInfo* ui, void* context) {
  std::string name = ui->path;
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  auto ends = [&](const std::string& tail) {
    return lower.size() >= tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
  };
  if (ends(".htm") || ends(".html")) static_cast<std::vector<std::string>*>(context)->push_back(name);
  return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

std::vector<std::string> TChmFile::Pages() const {
  std::vector<std::string> pages;
  if (FFile) chm_enumerate(FFile, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectPage, &pages);
  return pages;
}
