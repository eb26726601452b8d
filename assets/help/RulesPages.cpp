// Writes the pages of the game's help file into a folder, for make_chm.py to compile: the
// introduction, the page on playing, one rules page per help code (from the catalogue), the style
// sheet, and "contents.txt" with the contents and the index.
//
// Usage: rules_pages <style.css> <output folder>

#include <QString>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "patience/catalogue/RulesPage.h"

namespace fs = std::filesystem;

namespace {

bool Write(const fs::path& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  f << text;
  return bool(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rules_pages <style.css> <output folder>\n");
    return 2;
  }
  const fs::path out = argv[2];
  std::error_code ec;
  fs::remove_all(out, ec);
  fs::create_directories(out / "html");
  fs::copy_file(argv[1], out / "html" / "style.css", fs::copy_options::overwrite_existing);

  // The games in the contents alphabetically, as the menus list them.
  std::vector<TRulesPage> pages = AllRulesPages();
  std::stable_sort(pages.begin(), pages.end(), [](const TRulesPage& a, const TRulesPage& b) {
    return QString::fromStdString(a.Title).compare(QString::fromStdString(b.Title), Qt::CaseInsensitive) < 0;
  });
  bool ok = Write(out / "html" / "intro.htm", IntroductionPage()) &&
            Write(out / "html" / "playing.htm", PlayingPage());
  std::string contents =
      "Introduction | html/intro.htm\nPlaying | html/playing.htm\nThe games | html/intro.htm\n";
  std::string index =
      "index: Foundations | html/intro.htm\nindex: Tableau | html/intro.htm\nindex: Reserve | "
      "html/intro.htm\n"
      "index: Free cells | html/intro.htm\nindex: Stock | html/intro.htm\nindex: Redeal | html/intro.htm\n"
      "index: Keys | html/playing.htm\nindex: Updates | html/playing.htm\n";
  for (const TRulesPage& p : pages) {
    ok = ok && Write(out / p.Path, p.Html);
    contents += "  " + p.Title + " | " + p.Path + "\n";
    for (const std::string& k : p.Keywords)
      if (k != p.Title) index += "index: " + k + " | " + p.Path + "\n";
  }
  ok = ok && Write(out / "contents.txt", contents + index);
  if (!ok) {
    std::fprintf(stderr, "rules_pages: cannot write into %s\n", out.c_str());
    return 1;
  }
  return 0;
}
