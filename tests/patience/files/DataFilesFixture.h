#pragma once
// Temporary folders stand in for the program folder, the documents folder and the local
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
  using TTree = std::map<std::string, std::string>;

  void SetUp() override {
    for (const std::string& d : {Program, Docs, Local}) std::filesystem::create_directories(d);
    SetProgramDirForTesting(Program);
    std::swap(MyDocumentsDir, Saved[0]);
    std::swap(LocalAppDataDir, Saved[1]);
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
    MyDocumentsDir = Saved[0];
    LocalAppDataDir = Saved[1];
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
    return std::filesystem::is_regular_file(path) ? ReadFileText(path) : "<none>";
  }
  // Every entry below a folder with its contents ("<dir>" for a folder).
  static TTree Tree(const std::string& folder) {
    TTree out;
    if (!std::filesystem::is_directory(folder)) return out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
      out[std::filesystem::relative(e.path(), folder).string()] =
          e.is_regular_file() ? ReadFileText(e.path().string()) : "<dir>";
    return out;
  }
  // One of everything a move takes along, user card sets (one named in lower case) and user-made
  // card backs included, and names beginning with a dot.
  static constexpr size_t kFilledFiles = 12;
  static void FillDataFolder(const std::string& f) {
    for (const char* name :
         {"Player.dat", "Options.dat", "Status.Dat", "fav.dat", "Scoring.dat", "Data/Klondike.dat",
          "Save Games/one.ppg", "Save Games/.two.ppg", "CardSets/U_Mine/1.bmp", "CardSets/U_Mine/options.txt",
          "CardSets/u_low/.1.bmp", "CardSets/Standard/Back9.bmp"})
      Put(f + "/" + name, std::string("of ") + name + "\r\n");
    Put(f + "/Player.dat", "Ann\r\n2051\r\n");
  }

  TTempDir Root;
  std::string Program = Root / "prog", Docs = Root / "home/Documents", Local = Root / "home/.local/share";
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
  std::string Saved[2];
  TFileLocPrompt OldPrompt;
};
