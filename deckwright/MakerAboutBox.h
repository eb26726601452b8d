#pragma once
// The maker's about box: a black window with the product line, a notice and a picture that
// dissolves into a second picture while the pointer is over it.

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;
class THarmFade;

namespace deckwright {

// The folder of "06d.bmp" and "06d_1.bmp", set by ShowAboutBox.
extern std::string AboutPictureDir;

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* owner = nullptr);
  ~TAboutBox() override;

  QLabel* Memo1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  THarmFade* Picture() const { return FPicture; }

  // Creates the picture when there is none and loads both pictures when their files exist.
  void FormActivate();
  void FormClose();

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void done(int r) override;

 private:
  THarmFade* FPicture = nullptr;
};

// Shows the about box modally with the caption; its pictures come from PictureDir.
void ShowAboutBox(const std::string& PictureDir, const std::string& Caption, QWidget* owner = nullptr);

}  // namespace deckwright
