#include "patience/ui/UpdateCheck.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "cardtable/SystemDirs.h"
#include "cardtable/VistaFuncs.h"
#include "patience/files/Trace.h"
#include "patience/files/UpdatePart.h"
#include "patience/ui/DialogBackground.h"
#include "platform/core/Files.h"
#include "platform/net/Http.h"
#include "platform/ui/Dialogs.h"

TStringList InfoLines;

namespace {

constexpr int kClientWidth = 304;
constexpr int kClientHeight = 452;
constexpr const char* kInfoName = "PatienceInfo.dat";
constexpr const char* kLocalInfoName = "internetinfo.dat";

// The state the GUI thread and the worker share.
std::atomic<bool> gThreadRunning{false};
std::atomic<int> gFetchResult{0};
std::atomic<int64_t> gBytesDone{0};
bool gDownloadMode = false;
// Whether the download may replace the desktop file of its name (the player was asked).
bool gReplaceDesktopFile = false;
std::string gDataFolder;
std::string gDownloadFolder;
QPointer<TInternetForm> gForm;
TInternetFormRunner gRunner;

class TInternetThread {
 public:
  TInternetThread(std::string url, std::string target, int64_t size, bool infoFile, std::string dataFolder)
      : FUrl(std::move(url)),
        FTarget(std::move(target)),
        FDataFolder(std::move(dataFolder)),
        FSize(size),
        FInfoFile(infoFile) {
    gThreadRunning = true;
    FThread = std::thread([this] { Execute(); });
  }
  ~TInternetThread() {
    Cancel = true;
    Pause = false;
    if (FThread.joinable()) FThread.join();
  }
  std::atomic<bool> Cancel{false};
  std::atomic<bool> Pause{false};
  // Runs on the GUI thread when the worker has ended and no one stopped it.
  std::function<void()> OnEnd;
  const std::string& Target() const { return FTarget; }

 private:
  void Execute();

  std::string FUrl, FTarget;
  std::string FDataFolder;  // where the part file is recorded while it is written
  int64_t FSize;
  bool FInfoFile;
  std::atomic<bool> FProgressQueued{false};
  std::thread FThread;
};

std::unique_ptr<TInternetThread> gThread;

// A label whose text shrinks to fit its width: the dialog's lines come from the update site and
// the system's font may be wider than the one the dialog was laid out for.
class TFitLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QFont f = font();
    while (QFontMetrics(f).horizontalAdvance(text()) > width() && f.pointSizeF() > 7)
      f.setPointSizeF(f.pointSizeF() - 0.5);
    p.setFont(f);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect(), int(alignment()) | Qt::TextSingleLine, text());
  }
};

void Post(std::function<void()> call) {
  if (QCoreApplication* app = QCoreApplication::instance())
    QMetaObject::invokeMethod(app, std::move(call), Qt::QueuedConnection);
}

// On the GUI thread, after the worker's last call: the thread is joined and gone.
void ThreadEnded(const TInternetThread* which) {
  if (gThread.get() != which) return;  // stopped and forgotten meanwhile
  std::function<void()> onEnd = std::move(gThread->OnEnd);
  gThread.reset();
  gThreadRunning = false;
  if (onEnd) onEnd();
}

// What a fetch came to, as gFetchResult holds it: 0 fetched, -1 not reached, -2 not to be had, -3
// broken off or corrupt.
int FetchResultOf(const THttpResult& got, bool infoFile) {
  switch (got.Status) {
    case THttpStatus::Ok:
      return 0;
    case THttpStatus::CannotConnect:
      return -1;
    case THttpStatus::BadStatus:
    case THttpStatus::TooLarge:
      return -2;
    case THttpStatus::TimedOut:
      return got.Bytes == 0 ? -1 : infoFile ? -2 : -3;
    default:
      // A broken-off information file is one that could not be had; a download that broke
      // off is corrupt.
      return infoFile ? -2 : -3;
  }
}

void TInternetThread::Execute() {
  gFetchResult = -1;
  gBytesDone = 0;
  try {
    if (Cancel) {
      gFetchResult = -3;
    } else if (UpdateSettings().BaseUrl.empty()) {
      gFetchResult = -1;
    } else {
      THttpRequest r;
      r.Url = FUrl;
      r.ConnectTimeoutMs = UpdateSettings().ConnectTimeoutMs;
      r.StallMs = UpdateSettings().StallMs;
      r.MinBytesPerSecond = UpdateSettings().MinBytesPerSecond;
      r.RateWindowMs = UpdateSettings().RateWindowMs;
      r.Cancel = &Cancel;
      r.Pause = &Pause;
      // The information file is small: anything larger is not one. A download ends at the size
      // the information file gives, and at the cap whatever it gives.
      r.MaxBytes = FInfoFile ? 100000 : UpdateSettings().MaxDownloadBytes;
      r.ExpectedSize = FSize;
      r.TotalMs = FInfoFile ? UpdateSettings().InfoTotalMs : -1;
      r.Replace = FInfoFile || gReplaceDesktopFile;
      r.Progress = [this](int64_t n) {
        gBytesDone = n;
        // One progress call waits on the GUI thread at a time.
        if (!FProgressQueued.exchange(true))
          Post([this, self = this] {
            if (gThread.get() != self) return;
            FProgressQueued = false;
            if (gForm) ShowDownloadProgress();
          });
      };
      // The part file is recorded, so that a start after a stop removes it and nothing else.
      r.PartCreated = [this](const std::string& path, int fd) { RecordUpdatePart(FDataFolder, path, fd); };
      const THttpResult got = HttpGetToFile(r, FTarget);
      ForgetUpdatePart(FDataFolder);
      gFetchResult = FetchResultOf(got, FInfoFile);
      if (got.Status != THttpStatus::Ok)
        Post([error = got.Error, code = got.HttpCode] {
          Trace("Update fetch failed: " + error + " (status " + std::to_string(code) + ")");
        });
    }
  } catch (...) {
    gFetchResult = -3;
  }
  Post([self = this] {
    if (gThread.get() != self) return;
    if (gForm) ShowDownloadResult();
    ThreadEnded(self);
  });
}

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

std::string Line(int i) {
  return i < InfoLines.Count() ? InfoLines[i] : "";
}

// A whole decimal integer, spaces around it allowed.
std::optional<int64_t> ToInt(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  if (b == e) return std::nullopt;
  size_t i = b;
  if (s[i] == '-' || s[i] == '+') ++i;
  if (i == e || e - i > 15) return std::nullopt;
  for (size_t k = i; k < e; ++k)
    if (!std::isdigit(static_cast<unsigned char>(s[k]))) return std::nullopt;
  return std::stoll(s.substr(b, e - b));
}

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return s;
}

void StartThread(std::string url, std::string target, int64_t size, bool infoFile) {
  HttpGlobalInit();
  gThread = std::make_unique<TInternetThread>(std::move(url), std::move(target), size, infoFile, gDataFolder);
}

}  // namespace

TUpdateSettings& UpdateSettings() {
  static TUpdateSettings settings = [] {
    TUpdateSettings s;
    const std::string site = GetEnv("PATIENCE_UPDATE_SITE");
    // No update site is built in: without one the check says it cannot connect and sends
    // nothing anywhere.
    s.BaseUrl = site;
    s.PublisherSite = "http://www.patience-games.example";
    return s;
  }();
  return settings;
}

int FetchResult() {
  return gFetchResult;
}
int64_t BytesDone() {
  return gBytesDone;
}
bool ThreadRunning() {
  return gThreadRunning;
}

std::optional<std::string> SafeUpdateFileName(const std::string& name) {
  if (name.empty() || name[0] == '.' || name.find_first_not_of(' ') == std::string::npos || name.size() > 255)
    return std::nullopt;
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':') return std::nullopt;
  return name;
}

TUpdateJudgement JudgeUpdateInfo(int fetchResult, const TStringList* lines, int programId,
                                 const std::string& publisherSite) {
  using V = TUpdateVerdict;
  const std::string corrupt = "Error: Info file appears to be corrupt.";
  if (fetchResult == -1) return {V::CannotConnect, "Error: Cannot connect to server."};
  if (fetchResult == -3) return {V::Cancelled, ""};
  if (fetchResult == 0 && (!lines || lines->Count() == 0 || Upper((*lines)[0]) != "PATIENCE UPDATE INFO"))
    fetchResult = -2;
  if (fetchResult != 0) return {V::NotFound, "Error: Cannot find file on server."};
  const TStringList& l = *lines;
  auto at = [&](int i) -> std::optional<int64_t> { return i < l.Count() ? ToInt(l[i]) : std::nullopt; };
  const auto newest = at(1), oldest = at(11);
  const bool sizeOk = l.Count() > 4 && (l[4].empty() || ToInt(l[4]));
  if (!newest || !oldest || !sizeOk) return {V::Corrupt, corrupt};
  if (l.Count() != 14) return {V::Corrupt, corrupt};
  if (programId < *oldest) return {V::FullVersion, "Error: Download new FULL version at " + publisherSite};
  if (programId < *newest) {
    if (!SafeUpdateFileName(l[3])) return {V::Corrupt, corrupt};
    return {V::NewVersion, ""};
  }
  return {V::Latest, ""};
}

// -----------------------------------------------------------------------------------------------
// The dialog

TInternetForm::TInternetForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Check for updates"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  QFont base(QStringLiteral("Tahoma"));
  base.setPointSize(8);
  setFont(base);
  ApplySystemUiFont(this);
  QFont big = font();
  big.setPointSize(14);
  QLabel** labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6};
  const int tops[] = {24, 61, 98, 135, 172, 209};
  for (int i = 0; i < 6; ++i) {
    QLabel* l = new TFitLabel(this);
    l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    l->setFont(big);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setGeometry(8, tops[i], kClientWidth - 16, 34);
    *labels[i] = l;
  }
  Status = new TFitLabel(this);
  Status->setObjectName(QStringLiteral("Status"));
  QFont bold = big;
  bold.setBold(true);
  Status->setFont(bold);
  Status->setAlignment(Qt::AlignCenter);
  Status->setGeometry(8, 376, 288, 34);
  Action = new QPushButton(QStringLiteral("Action"), this);
  Action->setGeometry(8, 419, 75, 25);
  Cancel = new QPushButton(QStringLiteral("Cancel"), this);
  Cancel->setGeometry(221, 419, 75, 25);
  for (QPushButton* b : {Action, Cancel}) b->setFocusPolicy(Qt::NoFocus);
  connect(Action, &QPushButton::clicked, this, [this] {
    if (ActionResult != 0)
      done(ActionResult);
    else
      ActionClick();
  });
  connect(Cancel, &QPushButton::clicked, this, [this] {
    if (CancelResult != 0)
      done(CancelResult);
    else
      CancelClick();
  });

  FBitmap = DialogBackground(kClientWidth, kClientHeight);
  if (owner) {
    const QRect r = owner->window()->geometry();
    move(r.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
}

TInternetForm::~TInternetForm() = default;

void TInternetForm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, FBitmap.ToQImage());
}

void TInternetForm::ShowDownloading() {
  Status->setText(QStringLiteral("Downloading to desktop"));
  Label1->setText(Q("Version ID: " + Line(1)));
  Label2->setText(Q("Name: " + Line(3)));
  Label3->setText(Q("Size: " + Line(4) + " bytes"));
  for (QLabel* l : {Label4, Label5, Label6}) l->clear();
  Action->setText(QStringLiteral("Close"));
  ActionResult = 1;
  Action->setDefault(false);
  Cancel->setVisible(true);
  CancelResult = 0;
  CancelIsCancel = false;
}

namespace {

// Whether something of that name is there (a dangling link too).
bool Present(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

void TInternetForm::ActionClick() {
  const std::optional<std::string> name = SafeUpdateFileName(Line(3));
  const std::string target = name && !DesktopDir.empty() ? PathJoin(DesktopDir, *name) : "";
  // A folder of that name cannot take the update; a file of the player's is replaced only when the
  // player says so.
  std::error_code error;
  if (!target.empty() && std::filesystem::is_directory(std::filesystem::symlink_status(target, error))) {
    MessageDlg("\"" + *name + "\" on the desktop is a folder: the update cannot be saved under that name.",
               mtError, mbOK);
    return;
  }
  const bool present = !target.empty() && Present(target);
  if (present && MessageDlg("\"" + *name + "\" is already on the desktop. Replace it?", mtConfirmation,
                            mbYes | mbNo) != mrYes)
    return;
  gReplaceDesktopFile = present;
  ShowDownloading();
  gDownloadMode = true;
  if (!target.empty()) {
    gDownloadFolder = DesktopDir;
    ForceDirectories(gDownloadFolder);
    const std::optional<int64_t> size = ToInt(Line(4));
    StartThread(UpdateSettings().BaseUrl + "/" + UrlEscape(*name), target, size ? *size : -1, false);
    gThread->OnEnd = UpdateDownloadFinished;
  } else {
    for (QLabel* l : {Label3, Label4, Label5, Label6}) l->clear();
    Status->setText(QStringLiteral("Error"));
    Label6->setText(QStringLiteral("Error: CLSID not found."));
    Cancel->setVisible(false);
  }
}

void TInternetForm::CancelClick() {
  if (!gThread) return;
  // The worker waits meanwhile (it is paused, not frozen: a close still stops it).
  gThread->Pause = true;
  if (MessageDlg("Cancel download?", mtConfirmation, mbYes | mbNo) != mrYes) {
    if (gThread) gThread->Pause = false;
    return;
  }
  if (gThread) {
    gThread->OnEnd = nullptr;
    gThread->Cancel = true;
    gThread->Pause = false;
  }
  done(1);
}

void ShowDownloadProgress() {
  if (gForm) gForm->Label5->setText(Q("Done: " + std::to_string(BytesDone()) + " bytes"));
}

void ShowDownloadResult() {
  if (!gForm) return;
  for (QLabel* l : {gForm->Label3, gForm->Label4, gForm->Label5, gForm->Label6}) l->clear();
  if (FetchResult() == 0) {
    gForm->Status->setText(QStringLiteral("Download complete"));
  } else {
    gForm->Status->setText(QStringLiteral("Error"));
    gForm->Label6->setText(FetchResult() == -1 ? QStringLiteral("Error: Cannot connect to server.")
                                               : QStringLiteral("Error: Cannot find file on server."));
  }
  gForm->Cancel->setVisible(false);
}

void UpdateDownloadFinished() {
  if (gForm) return;
  if (FetchResult() != 0) {
    ShowMessage("Error: Patience download aborted.");
    Trace("Patience download aborted");
  } else {
    ShowMessage("Patience update has been downloaded to desktop.");
    Trace("Patience update downloaded");
  }
}

void SetInternetFormRunnerForTesting(TInternetFormRunner runner) {
  gRunner = std::move(runner);
}

TInternetForm* CurrentInternetForm() {
  return gForm;
}

void RunUpdateCheck(QWidget* owner, const std::string& DataFolder, int ProgramId) {
  // One check at a time: the wait below lets the window's events through.
  static bool checking = false;
  if (checking || gForm) return;
  checking = true;
  gDataFolder = DataFolder;
  TInternetForm form(owner);
  gForm = &form;
  auto run = [&form] { return gRunner ? gRunner(form) : form.exec(); };
  if (ThreadRunning()) {
    form.ShowDownloading();
    run();
  } else {
    gDownloadMode = false;
    ForceDirectories(gDataFolder);
    const std::string local = ResolvePath(PathJoin(gDataFolder, kLocalInfoName));
    StartThread(UpdateSettings().BaseUrl + "/" + kInfoName, local, -1, true);
    while (ThreadRunning()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const bool loaded = FetchResult() == 0 && InfoLines.TryLoadFromFile(local);
    if (FetchResult() == 0 && !loaded) InfoLines.Clear();
    const TUpdateJudgement j = JudgeUpdateInfo(FetchResult(), loaded ? &InfoLines : nullptr, ProgramId,
                                               UpdateSettings().PublisherSite);
    switch (j.Verdict) {
      case TUpdateVerdict::NewVersion:
        form.Status->setText(QStringLiteral("New version available."));
        form.Label1->setText(Q("Version ID: " + Line(1)));
        form.Label2->setText(Q("Name: " + Line(3)));
        form.Label3->setText(Q("Size: " + Line(4) + " bytes"));
        form.Label4->setText(Q(Line(5)));
        form.Label5->setText(Q(Line(6)));
        form.Label6->setText(Q(Line(7)));
        form.Action->setText(QStringLiteral("Download"));
        form.ActionResult = 0;
        form.Action->setDefault(false);
        form.CancelResult = 0;
        form.CancelIsCancel = false;
        run();
        break;
      case TUpdateVerdict::Latest:
        form.Status->setText(QStringLiteral("You have the latest version."));
        form.Label1->setText(Q(Line(2)));
        form.Label2->setText(Q(Line(8)));
        form.Label3->setText(Q(Line(9)));
        form.Label4->setText(Q(Line(10)));
        form.Label5->clear();
        form.Label6->clear();
        form.Action->setText(QStringLiteral("OK"));
        form.ActionResult = 1;
        form.Action->setDefault(true);
        run();
        break;
      default:
        gForm = nullptr;
        if (!j.Message.empty()) ShowMessage(j.Message);
        break;
    }
  }
  gForm = nullptr;
  checking = false;
}

bool UpdateAllowsClose() {
  if (!ThreadRunning()) return true;
  // Only a download is worth a question; a check under way is simply given up.
  if (gDownloadMode && MessageDlg("Downloading update - Quit anyway?", mtConfirmation, mbYes | mbNo) != mrYes)
    return false;
  StopUpdateThread();
  return true;
}

void StopUpdateThread() {
  if (!gThread) return;
  gThread->OnEnd = nullptr;
  gThread.reset();  // cancels and joins; the worker removes its partial file
  gThreadRunning = false;
  // Given up, whatever the worker made of it: a cancel is told to nobody.
  gFetchResult = -3;
}
