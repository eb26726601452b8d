#include "platform/help/Sitemap.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

std::string DecodeEntities(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out += s[i];
      continue;
    }
    const size_t end = s.find(';', i);
    if (end == std::string::npos || end - i > 10) {
      out += s[i];
      continue;
    }
    const std::string name = s.substr(i + 1, end - i - 1);
    if (name == "amp")
      out += '&';
    else if (name == "lt")
      out += '<';
    else if (name == "gt")
      out += '>';
    else if (name == "quot")
      out += '"';
    else if (name == "apos")
      out += '\'';
    else if (!name.empty() && name[0] == '#') {
      const long code = name.size() > 1 && (name[1] == 'x' || name[1] == 'X')
                            ? std::strtol(name.c_str() + 2, nullptr, 16)
                            : std::strtol(name.c_str() + 1, nullptr, 10);
      // As UTF-8.
      if (code < 0x80) {
        out += char(code);
      } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
      } else {
        out += char(0xE0 | ((code >> 12) & 0x0F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
      }
    } else {
      out += s.substr(i, end - i + 1);
    }
    i = end;
  }
  return out;
}

// The value of attribute name in a tag's text (quoted or not).
std::string Attribute(const std::string& tag, const std::string& name) {
  const std::string lower = Lower(tag);
  size_t at = 0;
  while ((at = lower.find(name, at)) != std::string::npos) {
    const bool starts = at > 0 && std::isspace(static_cast<unsigned char>(lower[at - 1]));
    size_t p = at + name.size();
    while (p < tag.size() && std::isspace(static_cast<unsigned char>(tag[p]))) ++p;
    if (!starts || p >= tag.size() || tag[p] != '=') {
      at += name.size();
      continue;
    }
    ++p;
    while (p < tag.size() && std::isspace(static_cast<unsigned char>(tag[p]))) ++p;
    if (p < tag.size() && (tag[p] == '"' || tag[p] == '\'')) {
      const size_t end = tag.find(tag[p], p + 1);
      return DecodeEntities(tag.substr(p + 1, end == std::string::npos ? std::string::npos : end - p - 1));
    }
    size_t end = p;
    while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])) && tag[end] != '>') ++end;
    return DecodeEntities(tag.substr(p, end - p));
  }
  return "";
}

}  // namespace

std::vector<TSitemapEntry> ParseSitemap(const std::string& html) {
  std::vector<TSitemapEntry> entries;
  int depth = 0;
  bool inEntry = false;
  TSitemapEntry current;
  size_t i = 0;
  while ((i = html.find('<', i)) != std::string::npos) {
    const size_t end = html.find('>', i);
    if (end == std::string::npos) break;
    const std::string tag = html.substr(i + 1, end - i - 1);
    const std::string lower = Lower(tag);
    i = end + 1;
    auto is = [&](const char* name) {
      const size_t n = std::char_traits<char>::length(name);
      return lower.compare(0, n, name) == 0 &&
             (lower.size() == n || !std::isalnum(static_cast<unsigned char>(lower[n])));
    };
    if (is("ul")) {
      ++depth;
    } else if (is("/ul")) {
      depth = std::max(depth - 1, 0);
    } else if (is("object") && Lower(Attribute(tag, "type")) == "text/sitemap") {
      inEntry = true;
      current = TSitemapEntry{std::max(depth - 1, 0), "", ""};
    } else if (is("param") && inEntry) {
      const std::string name = Lower(Attribute(tag, "name"));
      // An index entry may name several pages; the first is the one it opens.
      if (name == "name" && current.Name.empty())
        current.Name = Attribute(tag, "value");
      else if (name == "local" && current.Local.empty())
        current.Local = Attribute(tag, "value");
    } else if (is("/object") && inEntry) {
      inEntry = false;
      if (!current.Name.empty()) entries.push_back(current);
    }
  }
  return entries;
}
