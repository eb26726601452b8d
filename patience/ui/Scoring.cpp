// "Scoring.dat", the "Modify Scoring System" dialog and the window's scoring commands.

#include "patience/ui/Scoring.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <array>

#include "cardtable/VistaFuncs.h"
#include "patience/files/DataFolder.h"
#include "patience/files/RecordNotice.h"
#include "patience/ui/DialogBackground.h"
#include "patience/ui/MainForm.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"

namespace {

constexpr int kClientWidth = 304;
constexpr int kClientHeight = 452;
constexpr int kEditWidth = 60;
constexpr int kEditHeight = 24;
constexpr int kEditLeft = kClientWidth - 16 - kEditWidth;
constexpr int kLabelGap = 10;
constexpr int kButtonTop = 419;
constexpr int kButtonHeight = 25;

TForm3Runner& Runner() {
  static TForm3Runner runner;
  return runner;
}

// The whole text as a decimal integer with an optional sign.
bool ParseInt(const std::string& text, int& value) {
  const int a = StrToIntDef(text, 0), b = StrToIntDef(text, 1);
  if (a != b) return false;
  value = a;
  return true;
}

std::string ScoringPath(const std::string& folder) {
  return ResolvePath(PathJoin(folder, kScoringFile));
}

}  // namespace

// -----------------------------------------------------------------------------------------------
// The file

void LoadScoringValues(const std::string& folder, TStringList& list, TScoreValues& values,
                       const TScoringTrace& trace) {
  list.Clear();
  const std::string path = ScoringPath(folder);
  if (!FileExists(path)) return;
  if (!list.TryLoadFromFile(path)) {
    values = TScoreValues();
    trace("Exception in reading the scoring values");
    return;
  }
  trace("Scoring values loaded");
  std::array<int, 4> v{};
  for (int i = 0; i < 4; ++i) {
    if (i >= list.Count() || !ParseInt(list[i], v[size_t(i)])) {
      values = TScoreValues();
      trace("Exception in reading the scoring values");
      return;
    }
  }
  values.Drop = v[0];
  values.Success = v[1];
  values.Undo = v[2];
  values.Waste = v[3];
}

bool SaveScoringValues(const std::string& folder, TStringList& list, const TScoreValues& values,
                       const TScoringTrace& trace) {
  while (list.Count() < 4) list.Add("");
  list[0] = IntToStr(values.Drop);
  list[1] = IntToStr(values.Success);
  list[2] = IntToStr(values.Undo);
  list[3] = IntToStr(values.Waste);
  try {
    list.SaveToFile(ScoringPath(folder));
    return true;
  } catch (const Exception& e) {
    trace("Exception when saving Scoring.dat");
    ReportRecordNotSaved(TRecordKind::Scoring, e.Message());
    return false;
  }
}

// -----------------------------------------------------------------------------------------------
// TForm3

TForm3::TForm3(QWidget* AOwner, int Drop_, int Success_, int Undo_, int Waste_) : QDialog(AOwner) {
  setWindowTitle(QStringLiteral("Modify Scoring System"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  QFont f(QStringLiteral("Tahoma"));
  f.setPointSize(8);
  setFont(f);
  ApplySystemUiFont(this);

  DropEdit = AddEdit("DropEdit", "Drop card on tableau or cell",
                     "Points for dropping on the tableau or a cell", 56, DropLabel);
  SuccessEdit = AddEdit("SuccessEdit", "Drop card on foundation", "Points for dropping on the foundations",
                        128, SuccessLabel);
  UndoEdit = AddEdit("UndoEdit", "Error drop", "Points for making a mistake", 208, UndoLabel);
  WasteEdit = AddEdit("WasteEdit", "Redeal wastepile", "Points for redealing the wastepile", 280, WasteLabel);

  auto button = [this](const char* caption, int left, int width) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    b->setFont(QFont(font().family(), b->font().pointSize()));
    b->setGeometry(left, kButtonTop, width, kButtonHeight);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    return b;
  };
  Defaults = button("Load Defaults", 8, 110);
  Ok = button("OK", 140, 75);
  Cancel = button("Cancel", 221, 75);
  connect(Defaults, &QPushButton::clicked, this, &TForm3::DefaultsClick);
  connect(Ok, &QPushButton::clicked, this, [this] {
    CommitEdits();
    done(1);
  });
  connect(Cancel, &QPushButton::clicked, this, [this] { done(2); });

  if (Drop_ == 0 && Success_ == 0 && Undo_ == 0 && Waste_ == 0) {
    DefaultsClick();
  } else {
    Drop = Drop_;
    Success = Success_;
    Undo = Undo_;
    Waste = Waste_;
    ShowValues();
  }

  FBitmap = DialogBackground(kClientWidth, kClientHeight);

  if (AOwner) {
    const QRect r = AOwner->window()->geometry();
    move(r.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
}

TForm3::~TForm3() {
  // The edits lose the focus while the dialog goes; that is no leaving of an edit.
  for (QLineEdit* e : {DropEdit, SuccessEdit, UndoEdit, WasteEdit}) {
    e->removeEventFilter(this);
    disconnect(e, nullptr, this, nullptr);
  }
}

QLineEdit* TForm3::AddEdit(const char* name, const char* label, const char* hint, int top,
                           QLabel*& labelOut) {
  QFont bold(font().family());
  bold.setPointSize(10);
  bold.setBold(true);
  auto* l = new QLabel(QString::fromUtf8(label), this);
  l->setFont(bold);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  l->setGeometry(4, top, kEditLeft - kLabelGap - 4, kEditHeight);
  l->setToolTip(QString::fromUtf8(hint));
  auto* e = new QLineEdit(this);
  e->setObjectName(QString::fromUtf8(name));
  e->setFont(bold);
  e->setGeometry(kEditLeft, top, kEditWidth, kEditHeight);
  e->setToolTip(QString::fromUtf8(hint));
  e->installEventFilter(this);
  labelOut = l;
  connect(e, &QLineEdit::editingFinished, this, [this, e] { EditExit(e, FieldOf(e)); });
  return e;
}

int& TForm3::FieldOf(QLineEdit* edit) {
  if (edit == SuccessEdit) return Success;
  if (edit == UndoEdit) return Undo;
  if (edit == WasteEdit) return Waste;
  return Drop;
}

void TForm3::ShowValues() {
  DropEdit->setText(QString::number(Drop));
  SuccessEdit->setText(QString::number(Success));
  UndoEdit->setText(QString::number(Undo));
  WasteEdit->setText(QString::number(Waste));
}

void TForm3::DefaultsClick() {
  const TScoreValues d;
  Drop = d.Drop;
  Success = d.Success;
  Undo = d.Undo;
  Waste = d.Waste;
  ShowValues();
}

void TForm3::EditExit(QLineEdit* edit, int& field) {
  if (edit->isModified()) {
    int v = 0;
    if (ParseInt(edit->text().toStdString(), v)) field = v;
  }
  // Whatever was typed, the edit shows the value it stands for.
  edit->setText(QString::number(field));
}

void TForm3::DropEditExit() {
  EditExit(DropEdit, Drop);
}
void TForm3::SuccessEditExit() {
  EditExit(SuccessEdit, Success);
}
void TForm3::UndoEditExit() {
  EditExit(UndoEdit, Undo);
}
void TForm3::WasteEditExit() {
  EditExit(WasteEdit, Waste);
}

void TForm3::CommitEdits() {
  for (QLineEdit* e : {DropEdit, SuccessEdit, UndoEdit, WasteEdit})
    if (e->hasFocus() || e->isModified()) EditExit(e, FieldOf(e));
}

bool TForm3::DropEditKeyDown(QLineEdit* edit, int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    focusNextChild();
    return true;
  }
  if (key == Qt::Key_Escape) {
    edit->setText(QString::number(FieldOf(edit)));
    edit->setModified(false);
    return true;
  }
  return false;
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && DropEditKeyDown(edit, static_cast<QKeyEvent*>(event)->key())) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TForm3::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, FBitmap.ToQImage());
}

void SetForm3RunnerForTesting(TForm3Runner runner) {
  Runner() = std::move(runner);
}

int RunForm3(TForm3& form) {
  if (Runner()) return Runner()(form);
  return form.exec();
}

// -----------------------------------------------------------------------------------------------
// The main window

void TForm1::LoadScoring() {
  if (!Engine) return;
  LoadScoringValues(DataFolder(), ScoringList, Engine->ScoreValues,
                    [this](const std::string& l) { Trace(l); });
}

void TForm1::ModifyScoring1Click() {
  if (!Engine) return;
  Trace("Start ModifyScoring");
  TScoreValues& v = Engine->ScoreValues;
  {
    TForm3 form(this, v.Drop, v.Success, v.Undo, v.Waste);
    if (RunForm3(form) == 1) {
      form.CommitEdits();
      v.Drop = form.Drop;
      v.Success = form.Success;
      v.Undo = form.Undo;
      v.Waste = form.Waste;
      SaveScoringValues(DataFolder(), ScoringList, v, [this](const std::string& l) { Trace(l); });
    }
  }
  Trace("Exit ModifyScoring");
}
