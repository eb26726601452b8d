#include "cardtable/CardDeckForm.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <exception>
#include <map>

#include "cardtable/CardTableWidget.h"
#include "cardtable/VistaFuncs.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"

namespace {

constexpr int kClientWidth = 538;
constexpr int kClientHeight = 249;
constexpr int kItemHeight = 24;
// The two preview cards: the 24th and the 52nd card of a fresh pack.
constexpr int kFirstPreviewCard = 24;
constexpr int kSecondPreviewCard = 28;

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

std::vector<std::string> ListDeckFolders(const std::string& cardsetsDir, const std::string& userCardsetsDir,
                                         bool userDecksOnly) {
  // Keyed by the lower-case name: sorted ignoring case, and a set in both folders listed once
  // (with the spelling met first).
  std::map<std::string, std::string> sets;
  auto add = [&](const std::string& root, bool userRoot) {
    if (root.empty() || !DirectoryExists(root)) return;
    for (const std::string& name : ListSubfolders(root)) {
      if (name.empty() || name[0] == '.') continue;
      if (userDecksOnly) {
        const bool user = userRoot ? name.find("U_") != std::string::npos : name.rfind("U_", 0) == 0;
        if (!user) continue;
      }
      sets.emplace(LowerCase(name), name);
    }
  };
  add(cardsetsDir, false);
  add(userCardsetsDir, true);
  std::vector<std::string> list;
  list.reserve(sets.size());
  for (const auto& [key, name] : sets) list.push_back(name);
  return list;
}

int InitialDeckIndex(const std::vector<std::string>& list, const std::string& currentDeck,
                     bool userDecksOnly) {
  if (list.empty()) return -1;
  auto indexOf = [&](const std::string& name) {
    for (size_t i = 0; i < list.size(); ++i)
      if (SameText(list[i], name)) return int(i);
    return -1;
  };
  if (const int i = indexOf(currentDeck); i >= 0) return i;
  if (userDecksOnly) return 0;
  // Without "Standard" in the list the first set is selected, so that something always is.
  return std::max(indexOf("Standard"), 0);
}

TCardDeckForm::TCardDeckForm(QWidget* owner, const std::string& currentDeck, bool userDecksOnly,
                             const std::string& userCardsetsDir, const std::string& cardsetsDir)
    : QDialog(owner),
      FCurrentDeck(currentDeck),
      FUserDecksOnly(userDecksOnly),
      FUserCardsetsDir(userCardsetsDir) {
  setWindowTitle(QStringLiteral("Card Deck Selector."));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  ApplySystemUiFont(this);

  ListBox1 = new QListWidget(this);
  ListBox1->setGeometry(7, 7, 226, 234);
  QFont listFont(IsNewWindowsVersion() && IsFontInstalled("Calibri") ? QStringLiteral("Calibri")
                                                                     : QStringLiteral("MS Sans Serif"));
  listFont.setPixelSize(19);
  ListBox1->setFont(listFont);
  ListBox1->setUniformItemSizes(true);

  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setGeometry(372, 217, 75, 25);
  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setGeometry(455, 217, 75, 25);
  Button1->setDefault(true);
  ErrorLabel = new QLabel(this);
  ErrorLabel->setGeometry(240, 195, 290, 18);
  ErrorLabel->setStyleSheet(QStringLiteral("color: #a00000"));
  ErrorLabel->hide();

  // The preview table reads the caller's card sets folder (or searches for one as any table does).
  FView = new TCardTableWidget(this);
  FPreview = cardsetsDir.empty() ? std::make_unique<TCardTable>(FView)
                                 : std::make_unique<TCardTable>(FView, cardsetsDir);
  TCardTable& t = *FPreview;
  t.SetMinWidth(0);
  t.SetMinHeight(0);
  // A new table asks its window for its own least size: the dialog keeps its size.
  setFixedSize(kClientWidth, kClientHeight);
  t.ApplyBounds(232, 5, kClientWidth - 250, kClientHeight - 60);
  t.SetColor(clBtnFace);

  for (const std::string& name : ListDeckFolders(t.CardDeck()->CardsetsDir, userCardsetsDir, userDecksOnly)) {
    auto* item = new QListWidgetItem(Q(name), ListBox1);
    item->setSizeHint(QSize(0, kItemHeight));
  }
  if (ListBox1->count() > 0) {
    std::vector<std::string> names;
    for (int i = 0; i < ListBox1->count(); ++i) names.push_back(ListBox1->item(i)->text().toStdString());
    ListBox1->setCurrentRow(InitialDeckIndex(names, currentDeck, userDecksOnly));
    t.CardDeck()->SetUserCardsetsDir(userCardsetsDir);
    ShowPreviewCards();
    ShowSelectedDeck();
  }

  connect(Button1, &QPushButton::clicked, this, &TCardDeckForm::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TCardDeckForm::Button2Click);
  // A click makes the item current before it selects it: the preview follows the selection, which
  // a click, the arrow keys and a chosen row all end with.
  connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TCardDeckForm::ListBox1Click);
  connect(ListBox1, &QListWidget::itemActivated, this, [this](QListWidgetItem*) { Button1Click(); });
}

TCardDeckForm::~TCardDeckForm() {
  // The preview draws through its widget: it goes first.
  FPreview.reset();
}

void TCardDeckForm::ShowPreviewCards() {
  TCardTable& t = *FPreview;
  TCardDeck& d = *t.CardDeck();
  auto take = [&d](int n) {
    TCard* last = nullptr;
    for (int i = 0; i < n; ++i)
      if (TCard* c = d.NextCard()) last = c;
    return last;
  };
  if (TCard* six = take(kFirstPreviewCard)) {
    t.TurnOverCard(six);
    t.AddCard(six, 10, 20);
  }
  if (TCard* king = take(kSecondPreviewCard)) {
    t.TurnOverCard(king);
    t.AddCard(king, 155, 20);
  }
}

void TCardDeckForm::ShowSelectedDeck() {
  const std::string selected = SelectedDeck();
  TCardDeck& d = *FPreview->CardDeck();
  if (selected.empty() || selected == d.DeckName) return;
  try {
    d.SetDeckName(selected);
  } catch (const std::exception& e) {
    // The preview keeps the set it shows.
    ErrorLabel->setText(Q("Cannot show " + selected + ": " + e.what()));
    ErrorLabel->show();
    return;
  }
  ErrorLabel->hide();
  FPreview->RefreshBackground();
}

std::string TCardDeckForm::SelectedDeck() const {
  const QListWidgetItem* item = ListBox1->currentItem();
  return item && item->isSelected() ? item->text().toStdString() : std::string();
}

int TCardDeckForm::Count() const {
  return ListBox1->count();
}

// -----------------------------------------------------------------------------------------------
// The deck's chooser

void TCardDeck::ChooseDeck() {
  int answer = 0;
  std::string chosen;
  {
    TCardDeckForm form(QApplication::activeWindow(), DeckName, false, UserCardsetsDir, CardsetsDir);
    answer = form.exec();
    chosen = form.SelectedDeck();
  }
  QCoreApplication::processEvents();
  // Cancelled, or nothing selected: the deck keeps its set.
  if (answer == 1 && !chosen.empty()) SetDeckName(chosen);
}
