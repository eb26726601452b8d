#include "patience/ui/FavouritesForm.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

#include "cardtable/VistaFuncs.h"
#include "platform/core/Text.h"
#include "platform/ui/Menus.h"

namespace {

constexpr int kClientWidth = 526;
constexpr int kClientHeight = 438;

// An arrow pointing right (add) or left (remove), in green or red.
QIcon ArrowIcon(bool right) {
  QImage img(32, 32, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QPolygonF arrow;
  arrow << QPointF(4, 12) << QPointF(17, 12) << QPointF(17, 4) << QPointF(29, 16) << QPointF(17, 28)
        << QPointF(17, 20) << QPointF(4, 20);
  if (!right)
    for (QPointF& pt : arrow) pt.setX(32 - pt.x());
  const QColor fill = right ? QColor(0x2E, 0xA0, 0x3C) : QColor(0xD0, 0x3A, 0x2E);
  p.setPen(QPen(fill.darker(150), 1.5));
  p.setBrush(fill);
  p.drawPolygon(arrow);
  return QIcon(QPixmap::fromImage(img));
}

QListWidget* MakeList(QWidget* parent, const char* name, int x) {
  auto* l = new QListWidget(parent);
  l->setObjectName(QLatin1String(name));
  l->setGeometry(x, 32, 210, 350);
  l->setSortingEnabled(true);
  l->setSelectionMode(QAbstractItemView::ExtendedSelection);
  return l;
}

QLabel* MakeLabel(QWidget* parent, const char* text, int x) {
  auto* l = new QLabel(QLatin1String(text), parent);
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPointSize(10);
  f.setBold(true);
  l->setFont(f);
  l->move(x, 8);
  l->adjustSize();
  return l;
}

QToolButton* MakeArrow(QWidget* parent, const char* name, const char* hint, bool right, int y) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setToolTip(QLatin1String(hint));
  b->setIcon(ArrowIcon(right));
  b->setIconSize(QSize(28, 28));
  b->setGeometry(240, y, 41, 41);
  return b;
}

}  // namespace

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Edit Favourites Menu"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  ApplySystemUiFont(this);
  Label1 = MakeLabel(this, "Games", 8);
  Label2 = MakeLabel(this, "Favourites", 304);
  ListBox1 = MakeList(this, "ListBox1", 8);
  ListBox2 = MakeList(this, "ListBox2", 304);
  BitBtn3 = MakeArrow(this, "BitBtn3", "Add to Favourites", true, 104);
  BitBtn4 = MakeArrow(this, "BitBtn4", "Remove from Favourites", false, 168);
  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setGeometry(168, 396, 80, 30);
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn2->setGeometry(278, 396, 80, 30);
  connect(BitBtn3, &QToolButton::clicked, this, [this] { BitBtn3Click(); });
  connect(BitBtn4, &QToolButton::clicked, this, [this] { BitBtn4Click(); });
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
  // The games list switches to Calibri where the system font would switch too.
  if (IsNewWindowsVersion() && IsFontInstalled("Segoe UI") && IsFontInstalled("Calibri") &&
      ListBox1->font().family() != QLatin1String("Calibri")) {
    QFont f = ListBox1->font();
    f.setFamily(QStringLiteral("Calibri"));
    f.setPointSizeF(f.pointSizeF() + 2);
    ListBox1->setFont(f);
  }
}

void TForm4::CollectGameCaptions(const TMenuItem& MenuItem) {
  for (int i = 0; i < MenuItem.Count(); ++i) {
    const TMenuItem* child = MenuItem.Items(i);
    if (child->Count() > 0)
      CollectGameCaptions(*child);
    else if (!child->IsLine())
      ListBox1->addItem(QString::fromStdString(child->Caption()));
  }
}

void TForm4::SetFavourites(const std::vector<std::string>& captions) {
  ListBox2->clear();
  for (const std::string& c : captions) ListBox2->addItem(QString::fromStdString(c));
}

std::vector<std::string> TForm4::Favourites() const {
  std::vector<std::string> out;
  for (int i = 0; i < ListBox2->count(); ++i) out.push_back(ListBox2->item(i)->text().toStdString());
  return out;
}

void TForm4::BitBtn3Click() {
  for (QListWidgetItem* item : ListBox1->selectedItems()) {
    const std::string caption = item->text().toStdString();
    bool listed = false;
    for (const std::string& f : Favourites()) listed = listed || SameText(f, caption);
    if (!listed) ListBox2->addItem(item->text());
  }
}

void TForm4::BitBtn4Click() {
  for (QListWidgetItem* item : ListBox2->selectedItems()) delete ListBox2->takeItem(ListBox2->row(item));
}
