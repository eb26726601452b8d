#include "platform/core/StringList.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"

void TStringList::Insert(int index, const std::string& s) {
  if (index < 0 || index > Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  Lines.insert(Lines.begin() + index, s);
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  Lines.erase(Lines.begin() + index);
}

const std::string& TStringList::operator[](int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return Lines[size_t(index)];
}

std::string& TStringList::operator[](int index) {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return Lines[size_t(index)];
}

int TStringList::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Lines[size_t(i)], s)) return i;
  return -1;
}

std::string TStringList::Text() const {
  std::string out;
  for (const auto& l : Lines) {
    // A line stays one line: a line break inside it would shift every line after it.
    if (l.find_first_of("\r\n") == std::string::npos) {
      out += l;
    } else {
      bool broken = false;
      for (char c : l) {
        const bool lineEnd = c == '\r' || c == '\n';
        if (!lineEnd || !broken) out += lineEnd ? ' ' : c;
        broken = lineEnd;
      }
    }
    out += "\r\n";
  }
  return out;
}

void TStringList::SetText(const std::string& text) {
  Lines.clear();
  std::string cur;
  size_t i = 0;
  bool pending = false;  // a line has begun that no line end has closed
  while (i < text.size()) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      Lines.push_back(cur);
      cur.clear();
      pending = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      cur += c;
      pending = true;
    }
    ++i;
  }
  if (pending) Lines.push_back(cur);
}

void TStringList::LoadFromFile(const std::string& path) {
  SetText(ReadFileText(path));
}

void TStringList::SaveToFile(const std::string& path) const {
  WriteFileAtomic(path, Text());
}

bool TStringList::TryLoadFromFile(const std::string& path) {
  try {
    LoadFromFile(path);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool TStringList::TrySaveToFile(const std::string& path) const {
  try {
    SaveToFile(path);
    return true;
  } catch (const Exception&) {
    return false;
  }
}
