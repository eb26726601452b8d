#pragma once
// Qt views of a menu model (Menus.h).
//
// TMenuBarWidget is a menu bar drawn as a toolbar: a gradient band with a bottom edge, one flat
// button per visible top-level item. Each top item with children opens a TModelMenu; a top item
// without children is a command of its own. The bar follows the top items' captions and states
// at once; a drop-down menu is rebuilt from the model every time it opens, so it always shows
// the states of that moment.
//
// Every item with an OnDrawItem handler is owner-drawn through TOwnerDrawMenuStyle: the style
// hands the handler a canvas over a bitmap of the item's size, then adds the arrow of a submenu.
// Items without a handler look as the desktop style draws them.

#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>

#include "platform/core/Types.h"
#include "platform/graphics/Canvas.h"
#include "platform/ui/Menus.h"

class TMenuBarWidget;

// The item an action of a model menu stands for; nullptr for any other action.
TMenuItem* MenuItemOf(const QAction* action);

class TOwnerDrawMenuStyle : public QProxyStyle {
  Q_OBJECT
 public:
  TOwnerDrawMenuStyle();

  // The font the items are measured with and that the canvas carries into the draw handler.
  TFont MenuFont;
  // Item heights: a command or submenu, and a separator line.
  int ItemHeight() const;
  int LineHeight() const { return 10; }
  // Left of the text: the glyph band.
  int TextLeft = 28;

  // The item's picture exactly as the menu shows it (the handler's drawing plus the submenu arrow).
  QImage RenderItem(TMenuItem& item, int width, int height, bool selected, bool submenu) const;

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget = nullptr) const override;
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;

  // The menu bar's band: a vertical gradient from the top colour to the bottom colour.
  TColor BarColorFrom = TColor(0xF0CAA6);  // sky blue
  TColor BarColorTo = TColor(0xF0FBFF);    // cream
};

// A drop-down menu showing the children of one model item.
class TModelMenu : public QMenu {
  Q_OBJECT
 public:
  TModelMenu(TMenuItem& item, TOwnerDrawMenuStyle* style, QWidget* parent = nullptr);
  TMenuItem& Item() const { return FItem; }
  // Builds the actions from the model now (done each time the menu opens).
  void Rebuild();
  // The action of a child item; nullptr when the child is hidden or not built yet.
  QAction* ActionOf(const TMenuItem* child) const;

 private:
  TMenuItem& FItem;
  TOwnerDrawMenuStyle* FStyle;
};

class TMenuBarWidget : public QMenuBar {
  Q_OBJECT
 public:
  // The bar shows root's children. The root's OnChange is taken by the bar.
  explicit TMenuBarWidget(TMenuItem& root, QWidget* parent = nullptr);
  ~TMenuBarWidget() override;

  TMenuItem& Root() const { return FRoot; }
  TOwnerDrawMenuStyle* MenuStyle() const { return FStyle.get(); }
  // The action of a top item (its menu button); nullptr for an item not on the bar.
  QAction* ActionOf(const TMenuItem* top) const;
  // The drop-down menu of a top item; nullptr when it has none.
  TModelMenu* MenuOf(const TMenuItem* top) const;
  // Rebuilds the buttons from the top items.
  void Sync();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TMenuItem& FRoot;
  std::unique_ptr<TOwnerDrawMenuStyle> FStyle;
  bool FSyncQueued = false;
};
