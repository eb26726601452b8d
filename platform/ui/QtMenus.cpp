#include "platform/ui/QtMenus.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QTimer>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/ui/DefaultHandler.h"

namespace {

constexpr char kItemProperty[] = "patienceMenuItem";

QString QtText(const std::string& s) {
  return QString::fromStdString(s);
}

void Bind(QAction* action, TMenuItem* item) {
  action->setProperty(kItemProperty, QVariant::fromValue(static_cast<void*>(item)));
}

// The model's states on an action.
void Apply(QAction* action, const TMenuItem& item) {
  action->setText(QtText(item.Caption()));
  action->setEnabled(item.Enabled());
  action->setVisible(item.Visible());
  action->setCheckable(item.Checked());
  action->setChecked(item.Checked());
  // A submenu's own state too: a menu takes its enabled state from the widget it lies in, and hands
  // it to its action, so a disabled item's menu would come back enabled with the bar or the menu
  // around it.
  if (QMenu* menu = action->menu()) menu->setEnabled(item.Enabled());
}

}  // namespace

TMenuItem* MenuItemOf(const QAction* action) {
  if (!action) return nullptr;
  const QVariant v = action->property(kItemProperty);
  return v.isValid() ? static_cast<TMenuItem*>(v.value<void*>()) : nullptr;
}

// -----------------------------------------------------------------------------------------------
// The style

TOwnerDrawMenuStyle::TOwnerDrawMenuStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {
  MenuFont.Name = QFont().family().toStdString();
  MenuFont.Size = 9;
}

int TOwnerDrawMenuStyle::ItemHeight() const {
  const QFontMetrics fm(MenuFont.ToQFont());
  // Text two pixels down, a 16-pixel glyph two pixels down, with room below both.
  return std::max(fm.height() + 6, 20);
}

QImage TOwnerDrawMenuStyle::RenderItem(TMenuItem& item, int width, int height, bool selected,
                                       bool submenu) const {
  TBitmap bitmap(std::max(width, 1), std::max(height, 1));
  bitmap.Clear(clWhite);
  TCanvas canvas(bitmap);
  canvas.Font = MenuFont;
  if (item.OnDrawItem) item.OnDrawItem(item, canvas, TRect(0, 0, width, height), selected);
  QImage image = bitmap.ToQImage();
  if (submenu) {
    // The submenu arrow is the desktop's, drawn after the owner's picture.
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(item.Enabled() ? QColor(Qt::black) : ToQColor(TColor(0xC0C0C0)));
    const int cx = width - 10, cy = height / 2;
    const QPointF arrow[3] = {QPointF(cx - 2, cy - 4), QPointF(cx + 2, cy), QPointF(cx - 2, cy + 4)};
    p.drawPolygon(arrow, 3);
  }
  return image;
}

void TOwnerDrawMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                      const QWidget* widget) const {
  if (element == CE_MenuItem) {
    const auto* menu = qobject_cast<const QMenu*>(widget);
    const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    TMenuItem* item = menu && mi ? MenuItemOf(menu->actionAt(option->rect.center())) : nullptr;
    if (item && item->OnDrawItem) {
      const bool selected = (option->state & State_Selected) != 0;
      const bool submenu = mi->menuItemType == QStyleOptionMenuItem::SubMenu;
      painter->drawImage(option->rect.topLeft(),
                         RenderItem(*item, option->rect.width(), option->rect.height(), selected, submenu));
      return;
    }
  }
  if (element == CE_MenuBarEmptyArea || element == CE_MenuBarItem) {
    // The band behind the bar and behind every button of it.
    const int h = widget ? widget->height() : option->rect.height();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, ToQColor(BarColorFrom));
    g.setColorAt(1, ToQColor(BarColorTo));
    painter->fillRect(option->rect, g);
    if (element == CE_MenuBarItem) {
      const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
      if (!mi) return;
      const bool enabled = option->state & State_Enabled;
      const QRect r = option->rect.adjusted(0, 1, -1, -2);
      if (enabled && (option->state & State_Sunken)) {
        // The button of the open menu: pressed in.
        painter->fillRect(r, QColor(255, 255, 255, 110));
        painter->setPen(QColor(128, 128, 128));
        painter->drawLine(r.topLeft(), r.topRight());
        painter->drawLine(r.topLeft(), r.bottomLeft());
        painter->setPen(Qt::white);
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
      } else if (enabled && (option->state & State_Selected)) {
        // The hot button: raised.
        painter->setPen(Qt::white);
        painter->drawLine(r.topLeft(), r.topRight());
        painter->drawLine(r.topLeft(), r.bottomLeft());
        painter->setPen(QColor(128, 128, 128));
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
      }
      painter->setFont(MenuFont.ToQFont());
      painter->setPen(enabled ? QColor(Qt::black) : QColor(128, 128, 128));
      painter->drawText(option->rect, Qt::AlignCenter | Qt::TextShowMnemonic, mi->text);
    }
    return;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

QSize TOwnerDrawMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                            const QWidget* widget) const {
  if (type == CT_MenuItem) {
    const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (mi) {
      if (mi->menuItemType == QStyleOptionMenuItem::Separator) return QSize(TextLeft + 8, LineHeight());
      const QFontMetrics fm(MenuFont.ToQFont());
      const QString text = QString::fromStdString(StripFirstAmpersand(mi->text.toStdString()));
      // Band, a margin each side of the text and room for a submenu arrow.
      return QSize(TextLeft + 2 + fm.horizontalAdvance(text) + 30, ItemHeight());
    }
  }
  if (type == CT_MenuBarItem) {
    const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (mi) {
      const QFontMetrics fm(MenuFont.ToQFont());
      const QString text = QString(mi->text).remove(QLatin1Char('&'));
      return QSize(fm.horizontalAdvance(text) + 10, ItemHeight() + 2);
    }
  }
  return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int TOwnerDrawMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                   QStyleHintReturn* returnData) const {
  // The pointer highlights disabled items too (they are drawn as not selected).
  if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

int TOwnerDrawMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                     const QWidget* widget) const {
  switch (metric) {
    case PM_MenuHMargin:
    case PM_MenuVMargin:
      return 0;
    case PM_MenuPanelWidth:
      return 2;
    case PM_MenuBarPanelWidth:
    case PM_MenuBarItemSpacing:
    case PM_MenuBarHMargin:
    case PM_MenuBarVMargin:
      return 0;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

// -----------------------------------------------------------------------------------------------
// Drop-down menus

TModelMenu::TModelMenu(TMenuItem& item, TOwnerDrawMenuStyle* style, QWidget* parent)
    : QMenu(parent), FItem(item), FStyle(style) {
  setStyle(style);
  setTitle(QtText(item.Caption()));
  connect(this, &QMenu::aboutToShow, this, &TModelMenu::Rebuild);
}

void TModelMenu::Rebuild() {
  // Submenus of the last build go with their actions.
  for (QAction* a : actions())
    if (QMenu* sub = a->menu()) sub->deleteLater();
  clear();
  for (int i = 0; i < FItem.Count(); ++i) {
    TMenuItem* child = FItem.Items(i);
    if (!child->Visible()) continue;
    QAction* action = nullptr;
    if (child->IsLine()) {
      action = addSeparator();
    } else if (child->Count() > 0) {
      auto* sub = new TModelMenu(*child, FStyle, this);
      action = addMenu(sub);
    } else {
      action = addAction(QtText(child->Caption()));
      connect(action, &QAction::triggered, this, [child] { RunHandled([child] { child->Click(); }); });
    }
    Bind(action, child);
    if (!child->IsLine()) Apply(action, *child);
  }
}

QAction* TModelMenu::ActionOf(const TMenuItem* child) const {
  for (QAction* a : actions())
    if (MenuItemOf(a) == child) return a;
  return nullptr;
}

// -----------------------------------------------------------------------------------------------
// The bar

TMenuBarWidget::TMenuBarWidget(TMenuItem& root, QWidget* parent)
    : QMenuBar(parent), FRoot(root), FStyle(std::make_unique<TOwnerDrawMenuStyle>()) {
  setStyle(FStyle.get());
  setNativeMenuBar(false);
  // A change of a top item shows at once; several changes in a row make one rebuild.
  FRoot.OnChange = [this](TMenuItem& changed) {
    if (&changed != &FRoot && changed.Parent() != &FRoot) return;
    if (FSyncQueued) return;
    FSyncQueued = true;
    QTimer::singleShot(0, this, [this] { Sync(); });
  };
  Sync();
}

TMenuBarWidget::~TMenuBarWidget() {
  FRoot.OnChange = nullptr;
  // The menus use the style; they go before it does.
  for (QAction* a : actions())
    if (QMenu* sub = a->menu()) delete sub;
  clear();
}

void TMenuBarWidget::Sync() {
  FSyncQueued = false;
  for (QAction* a : actions())
    if (QMenu* sub = a->menu()) sub->deleteLater();
  clear();
  for (int i = 0; i < FRoot.Count(); ++i) {
    TMenuItem* top = FRoot.Items(i);
    QAction* action = nullptr;
    if (top->Count() > 0) {
      action = addMenu(new TModelMenu(*top, FStyle.get(), this));
    } else {
      action = addAction(QtText(top->Caption()));
      connect(action, &QAction::triggered, this, [top] { RunHandled([top] { top->Click(); }); });
    }
    Bind(action, top);
    Apply(action, *top);
    action->setCheckable(false);
  }
  update();
}

QAction* TMenuBarWidget::ActionOf(const TMenuItem* top) const {
  for (QAction* a : actions())
    if (MenuItemOf(a) == top) return a;
  return nullptr;
}

TModelMenu* TMenuBarWidget::MenuOf(const TMenuItem* top) const {
  QAction* a = ActionOf(top);
  return a ? qobject_cast<TModelMenu*>(a->menu()) : nullptr;
}

void TMenuBarWidget::paintEvent(QPaintEvent* event) {
  QMenuBar::paintEvent(event);
  // The bottom edge: an etched line.
  QPainter p(this);
  p.setPen(QColor(160, 160, 160));
  p.drawLine(0, height() - 2, width(), height() - 2);
  p.setPen(Qt::white);
  p.drawLine(0, height() - 1, width(), height() - 1);
}
