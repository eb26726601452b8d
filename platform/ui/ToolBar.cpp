#include "platform/ui/ToolBar.h"

#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include "platform/graphics/Canvas.h"
#include "platform/ui/ImageList.h"

namespace {

// A thin etched groove between two groups.
class TToolSeparator : public QWidget {
 public:
  explicit TToolSeparator(QWidget* parent) : QWidget(parent) { setFixedSize(10, 22); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const int x = width() / 2 - 1;
    p.setPen(QColor(160, 160, 160));
    p.drawLine(x, 1, x, height() - 2);
    p.setPen(Qt::white);
    p.drawLine(x + 1, 1, x + 1, height() - 2);
  }
};

}  // namespace

TToolButton::TToolButton(const std::string& name, const TImageList& images, int imageIndex,
                         const std::string& hint, QWidget* parent)
    : QToolButton(parent), FImages(images) {
  setObjectName(QString::fromStdString(name));
  setToolTip(QString::fromStdString(hint));
  setAutoRaise(true);
  setFocusPolicy(Qt::NoFocus);
  setToolButtonStyle(Qt::ToolButtonIconOnly);
  setIconSize(QSize(images.Width(), images.Height()));
  SetImageIndex(imageIndex);
}

void TToolButton::SetImageIndex(int index) {
  if (index < 0 || index >= FImages.Count() || index == FImageIndex) return;
  FImageIndex = index;
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(FImages.Image(index)), QIcon::Normal);
  icon.addPixmap(QPixmap::fromImage(FImages.Disabled(index)), QIcon::Disabled);
  setIcon(icon);
}

std::string TToolButton::Hint() const {
  return toolTip().toStdString();
}

TToolBarWidget::TToolBarWidget(QWidget* parent) : QWidget(parent), FLayout(new QHBoxLayout(this)) {
  FLayout->setContentsMargins(4, 1, 4, 3);
  FLayout->setSpacing(1);
  FLayout->addStretch(1);
}

TToolButton* TToolBarWidget::AddButton(const std::string& name, const TImageList& images, int imageIndex,
                                       const std::string& hint, int size) {
  auto* button = new TToolButton(name, images, imageIndex, hint, this);
  button->setFixedSize(size, size);
  AddWidget(button);
  return button;
}

void TToolBarWidget::AddWidget(QWidget* widget) {
  widget->setParent(this);
  // Before the stretch that closes the row, so the row stays packed to the left.
  FLayout->insertWidget(FLayout->count() - 1, widget, 0, Qt::AlignVCenter);
}

void TToolBarWidget::AddSeparator() {
  AddWidget(new TToolSeparator(this));
}

void TToolBarWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient g(0, 0, 0, height());
  g.setColorAt(0, ToQColor(ColorFrom));
  g.setColorAt(1, ToQColor(ColorTo));
  p.fillRect(rect(), g);
  p.setPen(QColor(160, 160, 160));
  p.drawLine(0, height() - 2, width(), height() - 2);
  p.setPen(Qt::white);
  p.drawLine(0, height() - 1, width(), height() - 1);
}
