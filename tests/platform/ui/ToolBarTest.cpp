// The toolbar band and its picture buttons.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "platform/ui/ImageList.h"
#include "platform/ui/ToolBar.h"

namespace {

// Three pictures: a red, a green and a blue square in the middle of a transparent field.
TImageList Squares() {
  TImageList list(16, 16);
  for (QColor c : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)}) {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 4; y < 12; ++y)
      for (int x = 4; x < 12; ++x) image.setPixelColor(x, y, c);
    list.Add(image);
  }
  return list;
}

QImage Shown(const QToolButton& b, QIcon::Mode mode) {
  return b.icon().pixmap(16, 16, mode).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

TEST(ToolBar, AButtonShowsItsPictureGreyedWhenDisabledAndChangesIt) {
  const TImageList images = Squares();
  TToolButton b("ToolButton16", images, 1, "Auto Move Toggle");
  EXPECT_EQ(b.objectName(), QStringLiteral("ToolButton16"));
  EXPECT_EQ(b.Hint(), "Auto Move Toggle");
  EXPECT_EQ(b.ImageIndex(), 1);
  EXPECT_EQ(Shown(b, QIcon::Normal), images.Image(1));
  EXPECT_EQ(Shown(b, QIcon::Disabled), images.Disabled(1));
  EXPECT_TRUE(b.autoRaise());
  EXPECT_EQ(b.focusPolicy(), Qt::NoFocus);
  // A new picture at once; an index outside the list keeps the old one.
  b.SetImageIndex(2);
  EXPECT_EQ(b.ImageIndex(), 2);
  EXPECT_EQ(Shown(b, QIcon::Normal), images.Image(2));
  b.SetImageIndex(3);
  b.SetImageIndex(-1);
  EXPECT_EQ(b.ImageIndex(), 2);
  EXPECT_EQ(Shown(b, QIcon::Normal), images.Image(2));
}

TEST(ToolBar, TheBandLaysItsButtonsFromTheLeftAndClicksReachThem) {
  const TImageList images = Squares();
  TToolBarWidget bar;
  bar.resize(300, 30);
  TToolButton* first = bar.AddButton("A", images, 0, "First");
  bar.AddSeparator();
  TToolButton* second = bar.AddButton("B", images, 1, "Second", 30);
  auto* label = new QWidget;
  label->setFixedSize(40, 20);
  bar.AddWidget(label);
  bar.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(first->parentWidget(), &bar);
  EXPECT_EQ(label->parentWidget(), &bar);
  EXPECT_EQ(first->size(), QSize(26, 26));
  EXPECT_EQ(second->size(), QSize(30, 30));
  // Packed from the left in the order added, a groove between the groups.
  EXPECT_LT(first->x(), 10);
  EXPECT_GT(second->x(), first->x() + first->width() + 4);
  EXPECT_GT(label->x(), second->x());
  EXPECT_LT(label->x() + label->width(), bar.width() / 2);
  // Centred in the band's height.
  EXPECT_NEAR(first->y() + first->height() / 2, label->y() + label->height() / 2, 1);

  QSignalSpy clicked(first, &QToolButton::clicked);
  QTest::mouseClick(first, Qt::LeftButton);
  EXPECT_EQ(clicked.count(), 1);
  first->setEnabled(false);
  QTest::mouseClick(first, Qt::LeftButton);
  EXPECT_EQ(clicked.count(), 1);

  // The band: the gradient from its top colour to its bottom colour, then the etched edge.
  const QImage shot = bar.grab().toImage();
  const QColor top = shot.pixelColor(bar.width() - 5, 0);
  const QColor bottom = shot.pixelColor(bar.width() - 5, bar.height() - 3);
  EXPECT_NEAR(top.blue(), GetBValue(bar.ColorFrom), 3);
  EXPECT_NEAR(bottom.red(), GetRValue(bar.ColorTo), 12);
  EXPECT_EQ(shot.pixelColor(bar.width() - 5, bar.height() - 1), QColor(Qt::white));
}
