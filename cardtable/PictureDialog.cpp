#include "cardtable/PictureDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>
#include <exception>

#include "platform/graphics/Bitmap.h"

namespace {

constexpr int kPreviewSize = 200;

}  // namespace

QString QtNameFilter(const std::string& filter) {
  const QString f = QString::fromStdString(filter);
  const int bar = f.indexOf('|');
  if (bar < 0) return f;
  QString name = f.left(bar);
  const int paren = name.indexOf('(');
  if (paren > 0) name = name.left(paren).trimmed();
  const QStringList patterns = f.mid(bar + 1).split(';', Qt::SkipEmptyParts);
  return name + " (" + patterns.join(' ') + ")";
}

TPictureDialog::TPictureDialog(QWidget* owner, const std::string& initialDir, const std::string& filter)
    : QFileDialog(owner, QString(), QString::fromStdString(initialDir), QtNameFilter(filter)) {
  // Our own dialog, so that the preview can sit beside the list.
  setOption(QFileDialog::DontUseNativeDialog, true);
  setFileMode(QFileDialog::ExistingFile);
  setAcceptMode(QFileDialog::AcceptOpen);

  auto* box = new QWidget(this);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(6, 0, 0, 0);
  Preview = new QLabel(box);
  Preview->setFixedSize(kPreviewSize, kPreviewSize);
  Preview->setAlignment(Qt::AlignCenter);
  Preview->setFrameShape(QFrame::StyledPanel);
  PreviewSize = new QLabel(box);
  PreviewSize->setAlignment(Qt::AlignCenter);
  column->addWidget(Preview);
  column->addWidget(PreviewSize);
  column->addStretch(1);
  if (auto* grid = qobject_cast<QGridLayout*>(layout()))
    grid->addWidget(box, 0, grid->columnCount(), grid->rowCount(), 1);
  connect(this, &QFileDialog::currentChanged, this, &TPictureDialog::ShowPreview);
  // Room for the list, the names and the preview.
  resize(860, 480);
}

void TPictureDialog::ShowPreview(const QString& path) {
  Preview->clear();
  PreviewSize->clear();
  if (path.isEmpty()) return;
  TBitmap picture;
  try {
    picture.LoadFromFile(path.toStdString());
  } catch (const std::exception&) {
    return;  // a folder, or not a picture we can read
  }
  const QImage image = picture.ToQImage();
  if (image.isNull()) return;
  Preview->setPixmap(QPixmap::fromImage(
      image.scaled(kPreviewSize - 4, kPreviewSize - 4, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  PreviewSize->setText(QString("%1 x %2").arg(image.width()).arg(image.height()));
}

std::optional<std::string> OpenPictureDialog(QWidget* owner, const std::string& initialDir,
                                             const std::string& filter) {
  TPictureDialog dialog(owner, initialDir, filter);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  return files.first().toStdString();
}
