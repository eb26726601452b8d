#pragma once
// Message boxes as the programs ask their questions: MessageDlg with the system's caption for
// its type ("Warning", "Error", "Information", "Confirm"; the application's title for a custom
// box), MessageBox with a caption of its own, ShowMessage and the beep. Every box is modal on the
// active window and answers with the button pressed. Tests replace the boxes with a hook that
// sees each request and answers it.

#include <functional>
#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of MessageDlg, combined with |.
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32,
                         mbIgnore = 64;

// Answers of MessageDlg (the button pressed); mrNone when the box was closed otherwise.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7;

// Flags and answers of MessageBox.
constexpr unsigned MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4;
constexpr unsigned MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30,
                   MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7;

// The caption MessageDlg gives a box of this type.
std::string MessageDlgCaption(TMsgDlgType type);

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
// A plain box with an OK button, captioned with the application's title.
void ShowMessage(const std::string& text);
// A warning that does not wait for its answer: the box stays until the player closes it while the
// program goes on. A hook sees it as a request with an OK button.
void ShowNotice(const std::string& text, const std::string& caption);
void Beep();

// What a box asks: its text, caption, icon type and buttons (MessageBox requests are mapped to
// the same types and buttons, and their answers back).
struct TMessageRequest {
  std::string Text;
  std::string Caption;
  TMsgDlgType Type = mtCustom;
  TMsgDlgButtons Buttons = mbOK;
};
// Answers with one of the mr values.
using TMessageHook = std::function<int(const TMessageRequest&)>;
// Replaces the boxes (an empty hook brings them back); returns the hook it replaced.
TMessageHook SetMessageHook(TMessageHook hook);
// True while a hook answers the boxes.
bool MessageHookSet();
// Counts the beeps when a hook is set (the beep itself is then silent).
int BeepCount();

// Installs a hook for the life of the object and puts the old one back afterwards.
class TScopedMessageHook {
 public:
  explicit TScopedMessageHook(TMessageHook hook) : FOld(SetMessageHook(std::move(hook))) {}
  ~TScopedMessageHook() { SetMessageHook(std::move(FOld)); }
  TScopedMessageHook(const TScopedMessageHook&) = delete;
  TScopedMessageHook& operator=(const TScopedMessageHook&) = delete;

 private:
  TMessageHook FOld;
};
