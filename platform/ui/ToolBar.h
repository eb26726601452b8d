#pragma once
// A toolbar of picture buttons, in the look of the menu bar.
//
// TToolButton shows one picture of an image list: flat until the pointer is on it, its picture
// greyed while it is disabled, its hint as a tool tip. Changing ImageIndex changes the picture at
// once, so a two-state command (on / off) shows its state by the picture it carries.
//
// TToolBarWidget is the band: a vertical gradient with an etched bottom edge, its buttons and
// other controls laid from the left, a thin groove where a separator is asked for.
//
//   auto* bar = new TToolBarWidget(form);
//   TToolButton* undo = bar->AddButton("ToolButton9", images, 3, "Undo");
//   QObject::connect(undo, &QToolButton::clicked, [&] { ... });

#include <QToolButton>
#include <QWidget>
#include <string>

#include "platform/core/Types.h"

class QHBoxLayout;
class TImageList;

class TToolButton : public QToolButton {
  Q_OBJECT
 public:
  // name: the object name; hint: the tool tip. The list must outlive the button.
  TToolButton(const std::string& name, const TImageList& images, int imageIndex, const std::string& hint,
              QWidget* parent = nullptr);

  int ImageIndex() const { return FImageIndex; }
  // The picture shown from now on; nothing for an index outside the list.
  void SetImageIndex(int index);
  std::string Hint() const;
  int Tag = 0;

 private:
  const TImageList& FImages;
  int FImageIndex = -1;
};

class TToolBarWidget : public QWidget {
  Q_OBJECT
 public:
  explicit TToolBarWidget(QWidget* parent = nullptr);

  // Appends a picture button of the given size (its picture centred) and returns it.
  TToolButton* AddButton(const std::string& name, const TImageList& images, int imageIndex,
                         const std::string& hint, int size = 26);
  // Appends any control.
  void AddWidget(QWidget* widget);
  // Appends a groove between groups of buttons.
  void AddSeparator();

  // The band: from the top colour to the bottom colour.
  TColor ColorFrom = TColor(0xFFF8F0);
  TColor ColorTo = TColor(0xF0DCC4);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QHBoxLayout* FLayout;
};
