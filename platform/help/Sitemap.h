#pragma once
// The contents (.hhc) and index (.hhk) files of a compiled help file: HTML lists of
// <OBJECT type="text/sitemap"> entries, each with a "Name" and a "Local" (the page) parameter,
// nested by <UL> lists.

#include <string>
#include <vector>

struct TSitemapEntry {
  int Level = 0;      // 0 for the outermost list
  std::string Name;   // what the reader sees
  std::string Local;  // the page, as written in the file (may be empty for a heading)
};

std::vector<TSitemapEntry> ParseSitemap(const std::string& html);
