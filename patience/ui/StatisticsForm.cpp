#include "patience/ui/StatisticsForm.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "cardtable/VistaFuncs.h"
#include "patience/ui/ModalDialogs.h"

namespace {

constexpr int kClientWidth = 304;
constexpr int kClientHeight = 325;
constexpr int kChartWidth = 281;
constexpr int kChartHeight = 201;

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

QFont Tahoma(int points, bool bold = false) {
  QFont f(QStringLiteral("Tahoma"));
  f.setPointSize(points);
  f.setBold(bold);
  return f;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QFont& font, int x, int y, int w, int h,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* l = new QLabel(text, parent);
  l->setFont(font);
  l->setGeometry(x, y, w, h);
  l->setAlignment(align);
  return l;
}

// The picture of the new-entry page: a ribbon with a row of stars, 296 x 74.
QPixmap EntryPicture() {
  QImage img(296, 74, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 296, 0);
  g.setColorAt(0, QColor(0x1E, 0x3C, 0x96));
  g.setColorAt(0.5, QColor(0x64, 0x96, 0xFA));
  g.setColorAt(1, QColor(0x1E, 0x3C, 0x96));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(QRectF(4, 14, 288, 46), 10, 10);
  for (int i = 0; i < 7; ++i) {
    const double cx = 28 + i * 40, cy = 37, r = i == 3 ? 17 : 12;
    QPolygonF star;
    for (int k = 0; k < 10; ++k) {
      const double a = -M_PI / 2 + k * M_PI / 5, rr = k % 2 ? r * 0.45 : r;
      star << QPointF(cx + rr * std::cos(a), cy + rr * std::sin(a));
    }
    p.setBrush(QColor(0xFF, 0xD7, i == 3 ? 0x20 : 0x60));
    p.setPen(QPen(QColor(0xB4, 0x78, 0x00), 1));
    p.drawPolygon(star);
  }
  return QPixmap::fromImage(img);
}

}  // namespace

TDataForm::TDataForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Statistics and High Scores."));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  ApplySystemUiFont(this);

  Label1 = MakeLabel(this, QString(), Tahoma(14), 0, 0, kClientWidth, 24, Qt::AlignCenter);
  Label1->setObjectName(QStringLiteral("Label1"));
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setTabPosition(QTabWidget::South);
  PageControl1->setGeometry(0, kClientHeight - 301, kClientWidth, 301);
  BuildStatisticsPage();
  BuildHighScoresPage();
  BuildNewEntryPage();
  UseCalibriWhereTheSystemDoes();
  FormActivate();
}

// Played and won as counts and percentages, over the bar chart.
void TDataForm::BuildStatisticsPage() {
  Statistics = new QWidget;
  Statistics->setObjectName(QStringLiteral("Statistics"));
  // Counts on the left, percentages on the right (right-aligned so that "Lost: 71.4286%" fits).
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  Label2 = MakeLabel(Statistics, QStringLiteral("Played: "), Tahoma(14), 10, 4, 116, 26);
  Label3 = MakeLabel(Statistics, QStringLiteral("Won: "), Tahoma(14), 10, 30, 116, 26);
  Label8 = MakeLabel(Statistics, QStringLiteral("Lost: "), Tahoma(14), 120, 4, 172, 26, right);
  Label9 = MakeLabel(Statistics, QStringLiteral("Won: "), Tahoma(14), 120, 30, 172, 26, right);
  Image1 = new QLabel(Statistics);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(10, 60, kChartWidth, kChartHeight);
  PageControl1->addTab(Statistics, QStringLiteral("Statistics"));
}

void TDataForm::BuildHighScoresPage() {
  High_Scores = new QWidget;
  High_Scores->setObjectName(QStringLiteral("High_Scores"));
  StringGrid1 = new QTableWidget(kHighScoreEntries, 3, High_Scores);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setHorizontalHeaderLabels(
      {QStringLiteral("NAME"), QStringLiteral("DATE"), QStringLiteral("POINTS")});
  StringGrid1->verticalHeader()->hide();
  StringGrid1->verticalHeader()->setDefaultSectionSize(19);
  StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  auto* grid = new QVBoxLayout(High_Scores);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(StringGrid1);
  PageControl1->addTab(High_Scores, QStringLiteral("High_Scores"));
}

// The page asking a new high score's name; hidden until a score is entered.
void TDataForm::BuildNewEntryPage() {
  NewEntry = new QWidget;
  NewEntry->setObjectName(QStringLiteral("NewEntry"));
  const int w = kClientWidth - 8;
  MakeLabel(NewEntry, QStringLiteral("CONGRATULATIONS"), Tahoma(14), 0, 2, w, 24, Qt::AlignCenter);
  MakeLabel(NewEntry, QStringLiteral("New High Score"), Tahoma(18, true), 0, 26, w, 32, Qt::AlignCenter);
  auto* picture = new QLabel(NewEntry);
  picture->setObjectName(QStringLiteral("Image2"));
  picture->setGeometry((w - 296) / 2, 60, 296, 74);
  picture->setAlignment(Qt::AlignCenter);
  picture->setPixmap(EntryPicture());
  Label6 = MakeLabel(NewEntry, QStringLiteral("Points:"), Tahoma(12), 14, 140, 140, 22);
  Label7 = MakeLabel(NewEntry, QStringLiteral("Position:"), Tahoma(12), 154, 140, 140, 22);
  MakeLabel(NewEntry, QStringLiteral("Your Name"), Tahoma(12), 14, 166, 200, 20);
  Edit1 = new QLineEdit(NewEntry);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setFont(Tahoma(12));
  Edit1->setMaxLength(kHighScoreNameLength);
  Edit1->setGeometry(14, 188, 200, 28);
  BitBtn1 = new QPushButton(QStringLiteral("OK"), NewEntry);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setGeometry(222, 188, 66, 28);
  // Enter in the name closes the window with OK, as the button does.
  connect(Edit1, &QLineEdit::returnPressed, this, &QDialog::accept);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  PageControl1->addTab(NewEntry, QStringLiteral("New Entry"));
  PageControl1->setTabVisible(2, false);
}

// The grid and the name switch to Calibri where the system font would switch too.
void TDataForm::UseCalibriWhereTheSystemDoes() {
  if (!IsNewWindowsVersion() || !IsFontInstalled("Segoe UI") || !IsFontInstalled("Calibri")) return;
  QFont g = StringGrid1->font();
  if (g.family() == QLatin1String("Calibri")) return;
  g.setFamily(QStringLiteral("Calibri"));
  g.setPointSizeF(g.pointSizeF() + 1);
  StringGrid1->setFont(g);
  QFont e = Edit1->font();
  e.setFamily(QStringLiteral("Calibri"));
  e.setPointSizeF(e.pointSizeF() + 2);
  Edit1->setFont(e);
}

void TDataForm::FormActivate() {
  const int base = kClientWidth / 3;
  StringGrid1->setColumnWidth(0, base + 30);
  StringGrid1->setColumnWidth(1, base - 5);
  StringGrid1->setColumnWidth(2, base - 25);
  StringGrid1->selectRow(0);
}

void TDataForm::Fill(const std::string& gameName, const TGameStatistics& stats) {
  Label1->setText(Q(gameName));
  for (int r = 0; r < kHighScoreEntries; ++r) {
    const THighScore& e = stats.Entries[size_t(r)];
    const QString cells[3] = {Q(e.Name), Q(e.Date), QString::number(e.Points)};
    for (int c = 0; c < 3; ++c) StringGrid1->setItem(r, c, new QTableWidgetItem(cells[c]));
  }
  Label2->setText(QStringLiteral("Played: %1").arg(stats.Played));
  Label3->setText(QStringLiteral("Won: %1").arg(stats.Won));
  const TStatsPercent percent = StatsPercent(stats);
  const char point =
      QLocale().decimalPoint().at(0).toLatin1() ? QLocale().decimalPoint().at(0).toLatin1() : '.';
  Label8->setText(Q("Lost: " + PercentText(percent.Lost, point) + "%"));
  Label9->setText(Q("Won: " + PercentText(percent.Won, point) + "%"));
  DrawChart(percent);
}

void TDataForm::DrawChart(const TStatsPercent& percent) {
  QImage chart(kChartWidth, kChartHeight, QImage::Format_RGB32);
  chart.fill(Qt::white);
  QPainter p(&chart);
  p.setPen(Qt::NoPen);
  const int h = kChartHeight;
  // Lost in red, won in light blue; each bar reaches down to the bottom edge.
  p.fillRect(QRect(QPoint(20, BarTop(h, percent.Lost)), QPoint(99, h - 1)), QColor(0xFF, 0x00, 0x00));
  p.fillRect(QRect(QPoint(180, BarTop(h, percent.Won)), QPoint(259, h - 1)), QColor(0xA6, 0xCA, 0xF0));
  p.end();
  Image1->setPixmap(QPixmap::fromImage(chart));
}

void TDataForm::ShowEntryPage(bool entry) {
  PageControl1->setTabVisible(0, !entry);
  PageControl1->setTabVisible(1, !entry);
  PageControl1->setTabVisible(2, entry);
  if (entry) PageControl1->setCurrentIndex(2);
}

void TDataForm::ShowStats(const std::string& gameName, int page, const std::string& dataDir) {
  ShowEntryPage(false);
  PageControl1->setCurrentIndex(page == 1 ? 1 : 0);
  if (PlaySound) PlaySound("applause3.wav");
  Fill(gameName, LoadStats(gameName, dataDir));
  FormActivate();
  ExecModal(*this);
}

std::string TDataForm::AskName(const std::string& gameName, int position, int points,
                               const std::string& defaultName) {
  Label1->setText(Q(gameName));
  ShowEntryPage(true);
  Edit1->setText(Q(defaultName));
  Edit1->selectAll();
  Edit1->setFocus();
  Label6->setText(QStringLiteral("Points: %1").arg(points));
  Label7->setText(QStringLiteral("Position: %1").arg(position));
  if (PlaySound) PlaySound("fanfare_x.wav");
  ExecModal(*this);
  const std::string name = Edit1->text().toStdString();
  ShowEntryPage(false);
  return name;
}
