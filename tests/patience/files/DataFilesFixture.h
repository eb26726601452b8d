#pragma once
// Three temporary folders stand in for the program folder, the documents folder and the local
// application data folder; the "Save Data Location" question and the message boxes are answered
// by the test and recorded.

#include <gtest/gtest.h>

#include <QRadioButton>
#include <filesystem>
#include <map>
#include <string>

#include "cardtable/SystemDirs.h"
#include "patience/files/DataFolder.h"
#include "patience/files/FileLocForm.h"
#include "patience/files/ShellFiles.h"
#include "platform/core/Files.h"
#include "platform/ui/Dialogs.h"
#include "tests/support/TestUtil.h"

class DataFilesFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Program = Root / "prog";
    Docs = Root / "home/Documents";
    Local = Root / "home/.local/share";
    for (const std::string& d : {Program, Docs, Local}) std::filesystem::create_directories(d);
    SetProgramDirForTesting(Program);
    SavedDocs = MyDocumentsDir;
    SavedLocal = LocalAppDataDir;
    MyDocumentsDir = Docs;
    LocalAppDataDir = Local;
    DataLocation = 0;
    OldPrompt = SetFileLocPrompt([this](TFileLoc& form) {
      ++Asked;
      AskedWithLocal = form.RadioButton1->isChecked();
      if (Answer == 1) (ChooseLocal ? form.RadioButton1 : form.RadioButton2)->setChecked(true);
      return Answer;
    });
  }
  void TearDown() override {
    SetFileLocPrompt(std::move(OldPrompt));
    SetFileStepHookForTesting({});
    SetProgramDirForTesting("");
    MyDocumentsDir = SavedDocs;
    LocalAppDataDir = SavedLocal;
    DataLocation = 0;
  }

  std::string LocalPatience() const { return Local + "/Patience"; }
  std::string DocsPatience() const { return Docs + "/Patience"; }

  static void Put(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteTextFile(path, text);
  }
  static bool Exists(const std::string& path) { return std::filesystem::exists(path); }
  static std::string Read(const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) return "<none>";
    return ReadFileText(path);
  }
  // Every file below a folder with its contents, by relative path ("" for an empty folder).
  static std::map<std::string, std::string> Tree(const std::string& folder) {
    std::map<std::string, std::string> out;
    if (!std::filesystem::is_directory(folder)) return out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
      const std::string rel = std::filesystem::relative(e.path(), folder).string();
      out[rel] = e.is_regular_file() ? ReadFileText(e.path().string()) : std::string("<dir>");
    }
    return out;
  }
  // A data folder with one of everything a move takes along, user card sets and user-made card
  // backs included.
  static void FillDataFolder(const std::string& f) {
    Put(f + "/Player.dat", "Ann\r\n2051\r\n");
    Put(f + "/Options.dat", "On\r\nOff\r\n");
    Put(f + "/Status.Dat", "status");
    Put(f + "/fav.dat", "Klondike\r\n");
    Put(f + "/Scoring.dat", "-1\r\n50\r\n-5\r\n-10\r\n");
    Put(f + "/Data/Klondike.dat", "stats");
    Put(f + "/Save Games/one.ppg", "game");
    Put(f + "/CardSets/U_Mine/1.bmp", "ace");
    Put(f + "/CardSets/U_Mine/options.txt", "opts");
    Put(f + "/CardSets/Standard/Back9.bmp", "my back");
  }

  TTempDir Root;
  std::string Program, Docs, Local;
  int Answer = 2;  // Cancel
  bool ChooseLocal = true;
  int Asked = 0;
  bool AskedWithLocal = false;
  std::vector<std::string> Messages;
  TScopedMessageHook Boxes{[this](const TMessageRequest& r) {
    Messages.push_back(r.Caption + ": " + r.Text);
    return mrOk;
  }};

 private:
  std::string SavedDocs, SavedLocal;
  TFileLocPrompt OldPrompt;
};
