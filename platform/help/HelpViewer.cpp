#include "platform/help/HelpViewer.h"

#include <algorithm>
#include <cctype>

#include "platform/ui/Dialogs.h"

namespace {

QPointer<THelpWindow> gWindow;
// What the last request showed: the window, or nullptr when it showed nothing.
QPointer<THelpWindow> gLastShown;

bool EndsWithChm(const std::string& file) {
  if (file.size() < 4) return false;
  std::string tail = file.substr(file.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return tail == ".chm";
}

}  // namespace

THelpWindow* CurrentHelpWindow() {
  return gWindow;
}

THelpWindow* HtmlHelp(QWidget* owner, const std::string& file, int command, const void* data) {
  gLastShown = nullptr;
  if (command == HH_CLOSE_ALL) {
    if (gWindow) gWindow->close();
    delete gWindow.data();
    return nullptr;
  }
  const size_t split = file.find("::");
  const std::string path = file.substr(0, split);
  const std::string topic = split == std::string::npos ? "" : file.substr(split + 2);
  if (!gWindow) {
    // A window of its own, beside the asking one: it must not close with a dialog.
    gWindow = new THelpWindow(nullptr);
    gWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    // An open help window does not keep the program running once its main window has closed.
    gWindow->setAttribute(Qt::WA_QuitOnClose, false);
    if (owner) gWindow->move(owner->mapToGlobal(QPoint(40, 40)));
  }
  if (!gWindow->OpenFile(path)) {
    if (!gWindow->File()) delete gWindow.data();
    MessageDlg("Help file not found:\n" + path, mtError, mbOK);
    return nullptr;
  }
  switch (command) {
    case HH_DISPLAY_TOC:
      gWindow->ShowContents();
      break;
    case HH_KEYWORD_LOOKUP: {
      const auto* link = static_cast<const THHAKLink*>(data);
      if ((!link || !gWindow->ShowKeyword(link->Keywords)) && link && !link->IndexOnFail) return nullptr;
      break;
    }
    default:
      gWindow->ShowTopic(topic);
      break;
  }
  gLastShown = gWindow;
  return gWindow;
}

// -----------------------------------------------------------------------------------------------
// The manager

void THelpManager::RegisterViewer(std::shared_ptr<THTMLHelpViewer> viewer) {
  FViewer = std::move(viewer);
  if (!FViewer) return;
  FViewer->FHelpManager = this;
  FViewer->NotifyID(FNextId++);
}

bool THelpManager::HelpContents() {
  if (!FViewer || !FViewer->CanShowTableOfContents()) {
    if (FViewer) MessageDlg("Help file not found:\n" + HelpFile, mtError, mbOK);
    return false;
  }
  FViewer->ShowTableOfContents();
  return gLastShown != nullptr;
}

bool THelpManager::HelpJump(const std::string& topic) {
  if (!FViewer || !FViewer->UnderstandsTopic(topic)) {
    if (FViewer) MessageDlg("Help file not found:\n" + HelpFile, mtError, mbOK);
    return false;
  }
  FViewer->DisplayTopic(topic);
  return gLastShown != nullptr;
}

bool THelpManager::HelpKeyword(const std::string& keyword) {
  if (!FViewer || !FViewer->UnderstandsKeyword(keyword)) {
    if (FViewer) MessageDlg("Help file not found:\n" + HelpFile, mtError, mbOK);
    return false;
  }
  FViewer->ShowHelp(keyword);
  return gLastShown != nullptr;
}

void THelpManager::ShutDown() {
  if (FViewer) FViewer->SoftShutDown();
}

THelpManager& HelpManager() {
  static THelpManager manager;
  static const bool registered = [] {
    manager.RegisterViewer(std::make_shared<THTMLHelpViewer>());
    return true;
  }();
  (void)registered;
  return manager;
}

// -----------------------------------------------------------------------------------------------
// The viewer

bool THTMLHelpViewer::IsChm() const {
  return FHelpManager && EndsWithChm(FHelpManager->GetHelpFile());
}

int THTMLHelpViewer::UnderstandsKeyword(const std::string&) const {
  return IsChm() ? 1 : 0;
}

std::vector<std::string> THTMLHelpViewer::GetHelpStrings(const std::string& HelpString) const {
  if (!IsChm()) return {};
  return {HelpString};
}

bool THTMLHelpViewer::CanShowTableOfContents() const {
  return IsChm();
}

void THTMLHelpViewer::ShowTableOfContents() {
  HtmlHelp(FHelpManager->GetHandle(), FHelpManager->GetHelpFile(), HH_DISPLAY_TOC, nullptr);
}

void THTMLHelpViewer::ShowHelp(const std::string& HelpString) {
  const THHAKLink link{HelpString, true};
  HtmlHelp(FHelpManager->GetHandle(), FHelpManager->GetHelpFile(), HH_KEYWORD_LOOKUP, &link);
}

void THTMLHelpViewer::SoftShutDown() {
  HtmlHelp(nullptr, "", HH_CLOSE_ALL, nullptr);
}

void THTMLHelpViewer::ShutDown() {
  SoftShutDown();
  FHelpManager = nullptr;
}

bool THTMLHelpViewer::UnderstandsTopic(const std::string&) const {
  return IsChm();
}

std::string THTMLHelpViewer::TopicPath(const std::string& helpFile, const std::string& Topic) {
  if (Topic.empty()) return helpFile;
  // The topics of the game's catalogue are written with "\"; inside the file the separator is "/".
  std::string t = Topic;
  std::replace(t.begin(), t.end(), '\\', '/');
  return t[0] == '/' ? helpFile + "::" + t : helpFile + "::/" + t;
}

void THTMLHelpViewer::DisplayTopic(const std::string& Topic) {
  HtmlHelp(FHelpManager->GetHandle(), TopicPath(FHelpManager->GetHelpFile(), Topic), HH_DISPLAY_TOPIC,
           nullptr);
}

bool THTMLHelpViewer::UnderstandsContext(int, const std::string&) const {
  return IsChm();
}

void THTMLHelpViewer::DisplayHelpByContext(int, const std::string& HelpFileName) {
  // The game's help has no context numbers: the file opens at its default page.
  HtmlHelp(FHelpManager ? FHelpManager->GetHandle() : nullptr, HelpFileName, HH_HELP_CONTEXT, nullptr);
}
