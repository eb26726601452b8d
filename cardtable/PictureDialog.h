#pragma once
// The picture-open dialog: a file dialog filtered to pictures with a preview beside the file
// list, showing the picture under the cursor scaled to fit and its size in pixels.

#include <QFileDialog>
#include <optional>
#include <string>

class QLabel;

class TPictureDialog : public QFileDialog {
  Q_OBJECT
 public:
  // filter as "Description (*.a *.b)|*.A;*.B": the patterns after the bar are the ones used.
  TPictureDialog(QWidget* owner, const std::string& initialDir, const std::string& filter);

  QLabel* Preview = nullptr;
  QLabel* PreviewSize = nullptr;
  // Shows the file in the preview (nothing for a file that is not a readable picture).
  void ShowPreview(const QString& path);
};

// Runs the dialog; the chosen file, nothing when cancelled.
std::optional<std::string> OpenPictureDialog(QWidget* owner, const std::string& initialDir,
                                             const std::string& filter);
// "Description (*.a *.b)|*.A;*.B" as a Qt name filter with the patterns after the bar.
QString QtNameFilter(const std::string& filter);
