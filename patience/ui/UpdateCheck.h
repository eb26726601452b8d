#pragma once
// Help > Check for Updates: a small information file is fetched from the update site on a worker
// thread and judged against the program's id; when a newer version may be had, the dialog offers
// to download it to the desktop. The download goes on after the dialog closes; reopening the
// check shows its progress, and its end is told by a message when no dialog is open.
//
// The worker writes only its target file (through a part file of its own, "<name>.part" unless a
// file of that name is there, renamed when the whole file has arrived, removed after any failure;
// the data folder's "updatepart.dat" records it meanwhile, see UpdatePart.h) and the atomics below;
// everything it shows reaches the dialog through calls queued to the GUI thread, which test that a dialog
// still exists. Closing the game window during a download asks first and then stops the worker and waits for
// it. A download stops once more bytes arrive than the information file says or than the cap allows (a stated
// size above the cap is refused before anything is asked for), and replaces a desktop file of the same name
// only when the player said so.
//
// The information file, "PatienceInfo.dat" on the site and "internetinfo.dat" in the data folder,
// has exactly 14 lines: 0 "PATIENCE UPDATE INFO" (any case), 1 the newest id, 2 a text shown when
// current, 3 the update's file name, 4 its size in bytes (may be empty), 5-7 texts shown when
// newer, 8-10 more texts shown when current, 11 the oldest id that may update this way, 12-13
// unused.

#include <QDialog>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cardtable/Backdrop.h"
#include "platform/core/StringList.h"
#include "platform/graphics/Bitmap.h"

class QLabel;
class QPushButton;

// Where the update site is; the tests point it at a server of their own.
struct TUpdateSettings {
  std::string BaseUrl;        // the update site; a file's URL is BaseUrl + "/" + name
  std::string PublisherSite;  // named in the "FULL version" message
  int ConnectTimeoutMs = 15000;
  int StallMs = 30000;      // a transfer without progress for this long is given up
  int InfoTotalMs = 60000;  // the whole information check, however slowly the bytes come
  // A transfer that brings fewer bytes than this a second, on average over the window, is given
  // up too: a server that sends a byte now and then never stalls.
  int64_t MinBytesPerSecond = 1024;
  int RateWindowMs = 60000;
  // No download is larger: one whose stated size is more is not asked for, and one without a
  // size stops here.
  int64_t MaxDownloadBytes = int64_t(1) << 30;
};
// The settings: the base address from PATIENCE_UPDATE_SITE (none when it is not set: the check
// then tells that it cannot connect, without a request).
TUpdateSettings& UpdateSettings();

// The information file's lines, of the last check.
extern TStringList InfoLines;
// FetchResult: 0 ok, -1 cannot connect, -2 file not found or not acceptable, -3 cancelled or
// corrupt (a broken-off, stalled or wrongly sized download).
int FetchResult();
int64_t BytesDone();
// A worker runs (set when it starts, cleared on the GUI thread when it has ended).
bool ThreadRunning();

enum class TUpdateVerdict { CannotConnect, NotFound, Corrupt, FullVersion, NewVersion, Latest, Cancelled };
struct TUpdateJudgement {
  TUpdateVerdict Verdict = TUpdateVerdict::Corrupt;
  std::string Message;  // the message box's text; empty for the dialog and for a cancel
};
// The judgement of an information check: the fetch result, then the lines (none when the file
// could not be read), then their count, the oldest and the newest id. A newer version whose file
// name is not a plain file name is a corrupt information file.
TUpdateJudgement JudgeUpdateInfo(int fetchResult, const TStringList* lines, int programId,
                                 const std::string& publisherSite);
// The update's file name when it is a plain name for a file on the desktop, one the player sees
// there: not empty, not blanks only, not beginning with "." (a hidden file, "." or ".."), without
// "/", "\", ":" or control characters.
std::optional<std::string> SafeUpdateFileName(const std::string& name);

class TInternetForm : public QDialog {
  Q_OBJECT
 public:
  explicit TInternetForm(QWidget* owner);
  ~TInternetForm() override;

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Status = nullptr;
  QPushButton* Action = nullptr;
  QPushButton* Cancel = nullptr;
  // The buttons' modal results (0: the button runs its click handler) and whether Cancel is the
  // dialog's cancel button.
  int ActionResult = 0;
  int CancelResult = 2;
  bool CancelIsCancel = true;

  void ActionClick();
  void CancelClick();
  // The labels of a running download (step 2 of the check, and after Download).
  void ShowDownloading();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TBitmap FBitmap;
};

// Runs on the GUI thread, only while a dialog is open.
void ShowDownloadProgress();
void ShowDownloadResult();
// The end of a background download: a message when no dialog is open.
void UpdateDownloadFinished();

// The check and its dialog (modal). Returns when the dialog has closed; a download may go on.
void RunUpdateCheck(QWidget* owner, const std::string& DataFolder, int ProgramId);
// Closing the game window: true when it may close. While a download runs it asks "Downloading
// update - Quit anyway?"; Yes stops the download and waits for the worker.
bool UpdateAllowsClose();
// Stops a running worker and waits for it (its partial file is removed); nothing is told.
void StopUpdateThread();

// Tests run the dialog themselves: the runner gets the dialog instead of its modal loop and
// returns its result.
using TInternetFormRunner = std::function<int(TInternetForm&)>;
void SetInternetFormRunnerForTesting(TInternetFormRunner runner);
// The dialog that is open, if any.
TInternetForm* CurrentInternetForm();
