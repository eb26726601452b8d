// The Qt views of the menu model, offscreen: menus built from the model when they open, items
// drawn by their own handler, the bar following its top items, image lists.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QTest>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/QtMenus.h"

namespace {

// A model of two top menus; the first holds a command, a line, a submenu, a hidden, a disabled and
// a checked item.
struct TModel {
  TMenuItem Root{"Root"};
  TMenuItem* File = Root.Add("File1", "&File");
  TMenuItem* Open = File->Add("Open1", "Open");
  TMenuItem* Line = File->Add("N1", "-");
  TMenuItem* Sub = File->Add("Sub1", "More");
  TMenuItem* Inner = Sub->Add("Inner1", "Inner");
  TMenuItem* Hidden = File->Add("Hidden1", "Hidden");
  TMenuItem* Disabled = File->Add("Disabled1", "Disabled");
  TMenuItem* Checked = File->Add("Checked1", "Checked");
  TMenuItem* Help = Root.Add("Help1", "Help");
  TMenuItem* Debug = Root.Add("Debug1", "Debug");
  TModel() {
    Hidden->SetVisible(false);
    Disabled->SetEnabled(false);
    Checked->SetChecked(true);
    Debug->SetVisible(false);
  }
};

}  // namespace

TEST(QtMenus, AMenuIsBuiltFromTheModelEachTimeItOpens) {
  TModel m;
  TMenuBarWidget bar(m.Root);
  TModelMenu* file = bar.MenuOf(m.File);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(bar.MenuOf(m.Help), nullptr);  // no children: a command of its own
  file->Rebuild();
  ASSERT_EQ(file->actions().size(), 5);  // the hidden item is left out
  EXPECT_TRUE(file->ActionOf(m.Line)->isSeparator());
  EXPECT_NE(file->ActionOf(m.Sub)->menu(), nullptr);
  EXPECT_EQ(file->ActionOf(m.Hidden), nullptr);
  EXPECT_FALSE(file->ActionOf(m.Disabled)->isEnabled());
  EXPECT_TRUE(file->ActionOf(m.Checked)->isChecked());
  EXPECT_EQ(MenuItemOf(file->ActionOf(m.Open)), m.Open);

  // The model changes; the next opening shows it.
  m.Hidden->SetVisible(true);
  m.Disabled->SetEnabled(true);
  m.Checked->SetChecked(false);
  file->Rebuild();
  EXPECT_EQ(file->actions().size(), 6);
  EXPECT_TRUE(file->ActionOf(m.Disabled)->isEnabled());
  EXPECT_FALSE(file->ActionOf(m.Checked)->isChecked());
}

TEST(QtMenus, TriggeringAnActionClicksItsItem) {
  TModel m;
  int opened = 0, helped = 0;
  m.Open->OnClick = [&](TMenuItem&) { ++opened; };
  m.Help->OnClick = [&](TMenuItem&) { ++helped; };
  TMenuBarWidget bar(m.Root);
  TModelMenu* file = bar.MenuOf(m.File);
  file->Rebuild();
  file->ActionOf(m.Open)->trigger();
  EXPECT_EQ(opened, 1);
  bar.ActionOf(m.Help)->trigger();
  EXPECT_EQ(helped, 1);
  // Disabled in the model after the menu was built: the click still honours the model.
  m.Open->SetEnabled(false);
  file->ActionOf(m.Open)->trigger();
  EXPECT_EQ(opened, 1);
}

TEST(QtMenus, TheBarFollowsItsTopItems) {
  TModel m;
  TMenuBarWidget bar(m.Root);
  ASSERT_NE(bar.ActionOf(m.Debug), nullptr);
  EXPECT_FALSE(bar.ActionOf(m.Debug)->isVisible());
  m.Debug->SetVisible(true);
  m.Help->SetCaption("&Help me");
  m.Help->SetEnabled(false);
  QCoreApplication::processEvents();
  EXPECT_TRUE(bar.ActionOf(m.Debug)->isVisible());
  EXPECT_EQ(bar.ActionOf(m.Help)->text(), QStringLiteral("&Help me"));
  EXPECT_FALSE(bar.ActionOf(m.Help)->isEnabled());
  // Children added to a top item that had none turn its button into a menu.
  m.Help->Add("About1", "About");
  QCoreApplication::processEvents();
  EXPECT_NE(bar.MenuOf(m.Help), nullptr);
  // A disabled menu stays disabled when the bar is disabled and enabled again (as around every
  // deal), on the bar and inside another menu; an enabled one comes back with the bar.
  auto toggle = [&] {
    bar.setEnabled(false);
    bar.setEnabled(true);
  };
  m.Sub->SetEnabled(false);
  bar.MenuOf(m.File)->Rebuild();
  toggle();
  EXPECT_FALSE(bar.MenuOf(m.File)->ActionOf(m.Sub)->isEnabled());
  m.File->SetEnabled(false);
  QCoreApplication::processEvents();
  toggle();
  EXPECT_FALSE(bar.ActionOf(m.File)->isEnabled());
  m.Help->SetEnabled(true);
  QCoreApplication::processEvents();
  bar.setEnabled(false);
  EXPECT_FALSE(bar.ActionOf(m.Help)->isEnabled());
  bar.setEnabled(true);
  EXPECT_TRUE(bar.ActionOf(m.Help)->isEnabled());
}

TEST(QtMenus, OwnerDrawnItemsShowTheirHandlersPicture) {
  TModel m;
  std::vector<std::pair<std::string, bool>> drawn;
  auto paint = [&](TMenuItem& item, TCanvas& canvas, const TRect& r, bool selected) {
    drawn.emplace_back(item.Caption(), selected);
    canvas.Brush.Color = selected ? TColor(0x0000FF) : TColor(0x00FF00);
    canvas.FillRect(r);
  };
  m.Root.ForEach([&](TMenuItem& item) { item.OnDrawItem = paint; });
  TMenuBarWidget bar(m.Root);
  TModelMenu* file = bar.MenuOf(m.File);
  file->popup(QPoint(0, 0));
  QCoreApplication::processEvents();
  file->setActiveAction(file->ActionOf(m.Open));
  const QImage shot = file->grab().toImage();
  file->close();
  ASSERT_FALSE(drawn.empty());
  const QRect open = file->actionGeometry(file->ActionOf(m.Open));
  const QRect checked = file->actionGeometry(file->ActionOf(m.Checked));
  EXPECT_EQ(shot.pixelColor(open.center()), QColor(255, 0, 0));     // selected: the handler's red
  EXPECT_EQ(shot.pixelColor(checked.center()), QColor(0, 255, 0));  // not selected: green
  EXPECT_EQ(open.height(), bar.MenuStyle()->ItemHeight());
  EXPECT_EQ(file->actionGeometry(file->ActionOf(m.Line)).height(), bar.MenuStyle()->LineHeight());
  // The submenu's arrow is added after the owner's picture, in black on the right.
  const QRect sub = file->actionGeometry(file->ActionOf(m.Sub));
  EXPECT_EQ(shot.pixelColor(sub.right() - 10, sub.center().y()), QColor(0, 0, 0));
}

TEST(QtMenus, RenderItemPassesTheItemRectAndSelection) {
  TOwnerDrawMenuStyle style;
  TMenuItem item("I1", "Item");
  TRect seen;
  bool selectedSeen = false;
  item.OnDrawItem = [&](TMenuItem&, TCanvas& canvas, const TRect& r, bool selected) {
    seen = r;
    selectedSeen = selected;
    EXPECT_EQ(canvas.Bitmap().Width(), 120);
    EXPECT_EQ(canvas.Font.Name, style.MenuFont.Name);
  };
  const QImage img = style.RenderItem(item, 120, 22, true, false);
  EXPECT_EQ(img.size(), QSize(120, 22));
  EXPECT_EQ(seen, TRect(0, 0, 120, 22));
  EXPECT_TRUE(selectedSeen);
}

TEST(ImageListTest, PicturesAreDrawnAsTheyAreOrGreyed) {
  TImageList list(4, 4);
  QImage red(4, 4, QImage::Format_ARGB32);
  red.fill(Qt::transparent);
  red.setPixelColor(1, 1, Qt::red);
  EXPECT_EQ(list.Add(red), 0);
  QImage big(8, 8, QImage::Format_ARGB32);
  big.fill(Qt::blue);
  EXPECT_EQ(list.Add(big), 1);
  EXPECT_EQ(list.Image(1).size(), QSize(4, 4));  // scaled to the list's size
  EXPECT_TRUE(list.Image(2).isNull());

  TBitmap b(6, 6);
  b.Clear(clWhite);
  TCanvas canvas(b);
  list.Draw(canvas, 0, 0, 0, true);
  EXPECT_EQ(b.Pixel(1, 1), clRed);
  EXPECT_EQ(b.Pixel(0, 0), clWhite);  // transparent stays
  b.Clear(TColor(0x00FF00));
  list.Draw(canvas, 0, 0, 0, false);
  EXPECT_EQ(b.Pixel(1, 1), TColor(0x808080));  // the shape in grey
  EXPECT_EQ(b.Pixel(2, 2), clWhite);           // over its white shadow
  EXPECT_EQ(b.Pixel(0, 0), TColor(0x00FF00));
  b.Clear(clBlack);
  list.Draw(canvas, 0, 0, 7, true);  // no such picture: nothing
  list.Draw(canvas, 4, 4, 1, true);  // clipped at the edge
  EXPECT_EQ(b.Pixel(5, 5), clBlue);
  EXPECT_EQ(b.Pixel(3, 3), clBlack);
  EXPECT_EQ(b.RawPixel(5, 5) >> 24, 0xFFu);
}
