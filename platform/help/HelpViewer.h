#pragma once
// Help requests of a program go through one help manager to the viewer registered with it. The
// manager knows the program's help file and the window that asks; the viewer, THTMLHelpViewer,
// shows compiled HTML help files (".chm", in any case) in the help window.
//
// The program's own requests are three: the contents (F1), a topic (the Rules command and F2:
// "html\pati<code>.htm") and a keyword. A topic "x", "/x" and "\x" name the same page; an empty
// topic is the file's default page. When the help file is missing or unreadable the viewer says
// "Help file not found" and opens nothing.

#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/help/HelpWindow.h"

class QWidget;
class THTMLHelpViewer;

// The commands of the help display, as HtmlHelp takes them.
enum : int {
  HH_DISPLAY_TOPIC = 0,
  HH_DISPLAY_TOC = 1,
  HH_KEYWORD_LOOKUP = 13,
  HH_HELP_CONTEXT = 15,
  HH_CLOSE_ALL = 18
};

// The keyword look-up's request.
struct THHAKLink {
  std::string Keywords;
  bool IndexOnFail = true;
};

// The help display: "file.chm", or "file.chm::/page.htm" for a topic. Shows the one help window
// (created on the first call, raised on each). data: the THHAKLink of a keyword look-up.
// Returns the window, or nullptr when nothing could be shown.
THelpWindow* HtmlHelp(QWidget* owner, const std::string& file, int command, const void* data);
// The help window when one exists (tests look at it).
THelpWindow* CurrentHelpWindow();

class THelpManager {
 public:
  // The help file of the program, asked for at the moment of every request.
  std::string HelpFile;
  // The window that asks; the help window stays beside it.
  QPointer<QWidget> Handle;

  const std::string& GetHelpFile() const { return HelpFile; }
  QWidget* GetHandle() const { return Handle; }

  // Registers the viewer and tells it its id; the manager keeps it.
  void RegisterViewer(std::shared_ptr<THTMLHelpViewer> viewer);
  THTMLHelpViewer* Viewer() const { return FViewer.get(); }

  // The program's requests; each goes to the viewer when it understands the help file.
  bool HelpContents();
  bool HelpJump(const std::string& topic);
  bool HelpKeyword(const std::string& keyword);
  // Closes every help window (the program ends).
  void ShutDown();

 private:
  std::shared_ptr<THTMLHelpViewer> FViewer;
  int FNextId = 1;
};

// The program's help manager, with the viewer registered at first use.
THelpManager& HelpManager();

class THTMLHelpViewer {
 public:
  std::string GetViewerName() const { return "HTMLHelp Viewer"; }
  int UnderstandsKeyword(const std::string& HelpString) const;
  std::vector<std::string> GetHelpStrings(const std::string& HelpString) const;
  bool CanShowTableOfContents() const;
  void ShowTableOfContents();
  void ShowHelp(const std::string& HelpString);
  void NotifyID(int ViewerID) { FViewerID = ViewerID; }
  void SoftShutDown();
  void ShutDown();
  bool UnderstandsTopic(const std::string& Topic) const;
  void DisplayTopic(const std::string& Topic);
  bool UnderstandsContext(int ContextID, const std::string& HelpFileName) const;
  void DisplayHelpByContext(int ContextID, const std::string& HelpFileName);

  // The file-and-topic string DisplayTopic hands to the help display.
  static std::string TopicPath(const std::string& helpFile, const std::string& Topic);

  int FViewerID = 0;
  THelpManager* FHelpManager = nullptr;

 private:
  bool IsChm() const;
};
