// Special folders from the XDG user directories, the user-interface font switch and the
// card sets folder dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "cardtable/DeckPathForm.h"
#include "cardtable/SystemDirs.h"
#include "cardtable/VistaFuncs.h"
#include "platform/core/Files.h"
#include "tests/support/TestUtil.h"

namespace fs = std::filesystem;

namespace {

class EnvGuard {
 public:
  explicit EnvGuard(const char* name) : Name(name) {
    const char* v = getenv(name);
    Had = v != nullptr;
    if (v) Old = v;
  }
  ~EnvGuard() {
    if (Had)
      setenv(Name, Old.c_str(), 1);
    else
      unsetenv(Name);
  }

 private:
  const char* Name;
  bool Had = false;
  std::string Old;
};

TEST(SystemDirsTest, FoldersComeFromTheUserDirsFileWithFallbacks) {
  EnvGuard h("HOME"), c("XDG_CONFIG_HOME"), d("XDG_DATA_HOME");
  TTempDir t;
  fs::create_directories(t / ".config");
  fs::create_directories(t / "Docs");
  WriteTextFile(t / ".config/user-dirs.dirs",
                "# written by the desktop\n"
                "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"
                "XDG_DESKTOP_DIR=\"$HOME/\"\n"
                "XDG_PICTURES_DIR=\"relative/not/allowed\"\n");
  setenv("HOME", t.Path().c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_DATA_HOME");
  InitSystemDirs();
  EXPECT_EQ(MyDocumentsDir, t / "Docs");
  EXPECT_EQ(DesktopDir, t / "Desktop");      // "$HOME/" means unset: the fallback
  EXPECT_EQ(MyPicturesDir, t / "Pictures");  // not there yet, but its parent is
  EXPECT_EQ(AppDataDir, t / ".config");
  EXPECT_EQ(LocalAppDataDir, "");  // ~/.local does not exist, so ~/.local/share cannot be made
  EXPECT_EQ(CommonDesktopDir, "");

  // XDG variables win; a folder whose parent is missing cannot be made and is empty.
  setenv("XDG_DATA_HOME", (t / "a/b/c").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (t / "cfg").c_str(), 1);
  EXPECT_EQ(SpecialFolderPath(CSIDL_LOCAL_APPDATA), "");
  EXPECT_EQ(SpecialFolderPath(CSIDL_APPDATA), t / "cfg");
  EXPECT_EQ(SpecialFolderPath(CSIDL_PERSONAL), t / "Documents");  // no user-dirs.dirs under cfg
  EXPECT_EQ(SpecialFolderPath(12345), "");
  DoneSystemDirs();
  EXPECT_EQ(MyDocumentsDir, "");
}

TEST(SystemDirsTest, NoHomeMeansNoFolders) {
  EnvGuard h("HOME"), c("XDG_CONFIG_HOME"), d("XDG_DATA_HOME");
  unsetenv("HOME");
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(SpecialFolderPath(CSIDL_PERSONAL), "");
  EXPECT_EQ(SpecialFolderPath(CSIDL_LOCAL_APPDATA), "");
}

TEST(UiFontTest, SwitchesOnceAndOnlyWhereTheFontExists) {
  QWidget form;
  QFont f("DejaVu Sans");
  f.setPointSize(8);
  form.setFont(f);
  SetFontInstalledCheckForTesting([](const std::string&) { return false; });
  ApplySystemUiFont(&form);
  EXPECT_EQ(form.font().family(), "DejaVu Sans");
  EXPECT_EQ(form.font().pointSize(), 8);

  SetFontInstalledCheckForTesting([](const std::string& name) { return name == "Segoe UI"; });
  ApplySystemUiFont(&form);
  EXPECT_EQ(form.font().family(), "Segoe UI");
  EXPECT_EQ(form.font().pointSize(), 9);
  ApplySystemUiFont(&form);  // already switched: no second growth
  EXPECT_EQ(form.font().pointSize(), 9);
  SetFontInstalledCheckForTesting(nullptr);
}

TEST(DeckPathFormTest, EnterAnswersOkAndCancelAnswersTwo) {
  {
    TDeckPathForm form;
    EXPECT_EQ(form.windowTitle(), "CardTable Configuration.");
    EXPECT_EQ(form.size(), QSize(340, 175));
    QTimer::singleShot(0, [&] {
      QTest::keyClicks(form.Edit1, "/some/Cardsets");
      QTest::keyClick(form.Edit1, Qt::Key_Return);
    });
    EXPECT_EQ(form.exec(), 1);
    EXPECT_EQ(form.Edit1->text(), "/some/Cardsets");
  }
  {
    TDeckPathForm form;
    QTimer::singleShot(0, [&] { form.Button2->click(); });
    EXPECT_EQ(form.exec(), 2);
  }
}

}  // namespace
