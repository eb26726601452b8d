#include "platform/help/HelpWindow.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <vector>

#include "platform/help/Sitemap.h"

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

constexpr int kPageRole = Qt::UserRole + 1;

}  // namespace

// -----------------------------------------------------------------------------------------------
// The browser

TChmBrowser::TChmBrowser(QWidget* parent) : QTextBrowser(parent) {
  setOpenExternalLinks(false);
  setOpenLinks(true);
}

std::string TChmBrowser::ObjectOf(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  QString path;
  if (scheme == QLatin1String("chm")) {
    path = url.path();
  } else {
    // "ms-its:file.chm::/page.htm" and "mk:@MSITStore:file.chm::/page.htm" name a page of a help
    // file; the window shows one file, so the page is looked for in it.
    const QString text = url.toString(QUrl::RemoveFragment);
    const qsizetype at = text.indexOf(QLatin1String("::"));
    if ((scheme == QLatin1String("ms-its") || scheme == QLatin1String("mk")) && at >= 0)
      path = text.mid(at + 2);
  }
  if (path.isEmpty()) return "";
  return TChmFile::NormalisePath(QUrl::fromPercentEncoding(path.toUtf8()).toStdString());
}

QUrl TChmBrowser::UrlOf(const std::string& objectPath) {
  QUrl url;
  url.setScheme(QStringLiteral("chm"));
  url.setPath(Q(TChmFile::NormalisePath(objectPath)));
  return url;
}

QVariant TChmBrowser::loadResource(int type, const QUrl& name) {
  if (!FFile) return {};
  const std::string object = ObjectOf(name.isRelative() ? source().resolved(name) : name);
  if (object.empty()) return {};
  const std::optional<std::string> data = FFile->Read(object);
  if (!data) {
    if (type != QTextDocument::HtmlResource) return {};
    return QString(QStringLiteral("<html><body><h2>Page not found</h2><p>The help file holds no page ") +
                   Q(object).toHtmlEscaped() + QStringLiteral(".</p></body></html>"));
  }
  // Pages go back as bytes, so the browser honours the page's own character set.
  return QByteArray(data->data(), qsizetype(data->size()));
}

// -----------------------------------------------------------------------------------------------
// The window

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Help"));
  resize(900, 640);
  auto* split = new QSplitter(this);
  FTabs = new QTabWidget(split);
  FContents = new QTreeWidget(FTabs);
  FContents->setHeaderHidden(true);
  FTabs->addTab(FContents, QStringLiteral("Contents"));
  auto* indexPage = new QWidget(FTabs);
  auto* indexLayout = new QVBoxLayout(indexPage);
  FKeyword = new QLineEdit(indexPage);
  FKeyword->setPlaceholderText(QStringLiteral("Type a keyword"));
  FIndex = new QListWidget(indexPage);
  indexLayout->addWidget(FKeyword);
  indexLayout->addWidget(FIndex);
  FTabs->addTab(indexPage, QStringLiteral("Index"));
  FBrowser = new TChmBrowser(split);
  split->addWidget(FTabs);
  split->addWidget(FBrowser);
  split->setStretchFactor(1, 3);
  split->setSizes({260, 640});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(split);

  auto open = [this](const QVariant& page) {
    if (page.isValid() && !page.toString().isEmpty()) ShowTopic(page.toString().toStdString());
  };
  connect(FContents, &QTreeWidget::itemActivated, this,
          [open](QTreeWidgetItem* item, int) { open(item->data(0, kPageRole)); });
  connect(FContents, &QTreeWidget::itemClicked, this,
          [open](QTreeWidgetItem* item, int) { open(item->data(0, kPageRole)); });
  connect(FIndex, &QListWidget::itemActivated, this,
          [open](QListWidgetItem* item) { open(item->data(kPageRole)); });
  connect(FIndex, &QListWidget::itemClicked, this,
          [open](QListWidgetItem* item) { open(item->data(kPageRole)); });
  connect(FKeyword, &QLineEdit::textChanged, this, &THelpWindow::FilterIndex);
  connect(FTabs, &QTabWidget::currentChanged, this, [this](int tab) {
    if (tab == 1) FKeyword->setFocus();
  });
  connect(FKeyword, &QLineEdit::returnPressed, this, [this] {
    // The entry the typing picked, else the first one shown.
    if (QListWidgetItem* current = FIndex->currentItem(); current && !current->isHidden()) {
      ShowTopic(current->data(kPageRole).toString().toStdString());
      return;
    }
    for (int i = 0; i < FIndex->count(); ++i)
      if (!FIndex->item(i)->isHidden()) {
        FIndex->setCurrentRow(i);
        ShowTopic(FIndex->item(i)->data(kPageRole).toString().toStdString());
        return;
      }
  });
}

THelpWindow::~THelpWindow() = default;

bool THelpWindow::OpenFile(const std::string& path) {
  if (FFile && FFile->Path() == path) return true;
  auto file = std::make_unique<TChmFile>(path);
  if (!file->Ok()) return false;
  FBrowser->SetFile(nullptr);
  FFile = std::move(file);
  FBrowser->SetFile(FFile.get());
  FBrowser->clearHistory();
  setWindowTitle(FFile->Title().empty() ? QStringLiteral("Help") : Q(FFile->Title()));
  Fill();
  return true;
}

void THelpWindow::Fill() {
  FContents->clear();
  FIndex->clear();
  // Pages of the sitemaps are relative to the file's root.
  auto page = [](const std::string& local) { return Q(TChmFile::NormalisePath(local)); };
  if (const auto hhc = FFile->Read(FFile->ContentsFile().empty() ? "/nothing" : FFile->ContentsFile())) {
    std::vector<QTreeWidgetItem*> parents;
    for (const TSitemapEntry& e : ParseSitemap(*hhc)) {
      const size_t level = std::min(size_t(e.Level), parents.size());
      parents.resize(level);
      auto* item = level == 0 ? new QTreeWidgetItem(FContents) : new QTreeWidgetItem(parents.back());
      item->setText(0, Q(e.Name));
      if (!e.Local.empty()) item->setData(0, kPageRole, page(e.Local));
      parents.push_back(item);
    }
    FContents->expandToDepth(0);
  }
  if (const auto hhk = FFile->Read(FFile->IndexFile().empty() ? "/nothing" : FFile->IndexFile()))
    for (const TSitemapEntry& e : ParseSitemap(*hhk)) {
      auto* item = new QListWidgetItem(Q(e.Name), FIndex);
      item->setData(kPageRole, page(e.Local));
    }
}

void THelpWindow::FilterIndex(const QString& text) {
  int first = -1;
  for (int i = 0; i < FIndex->count(); ++i) {
    const bool shown = text.isEmpty() || FIndex->item(i)->text().contains(text, Qt::CaseInsensitive);
    FIndex->item(i)->setHidden(!shown);
    if (shown && first < 0 && FIndex->item(i)->text().startsWith(text, Qt::CaseInsensitive)) first = i;
  }
  if (first >= 0) FIndex->setCurrentRow(first);
}

void THelpWindow::Present() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

bool THelpWindow::ShowTopic(const std::string& topic) {
  if (!FFile) return false;
  std::string object = topic.empty() ? FFile->DefaultTopic() : topic;
  if (object.empty()) {
    const auto pages = FFile->Pages();
    if (!pages.empty()) object = pages.front();
  }
  // A page with a part: "page.htm#part".
  std::string fragment;
  if (const size_t hash = object.find('#'); hash != std::string::npos && hash > 0) {
    fragment = object.substr(hash + 1);
    object = object.substr(0, hash);
  }
  const bool found = FFile->Has(object);
  // The contents entry of the page, when it has one, is the current one.
  const QString page = QString::fromStdString(TChmFile::NormalisePath(object));
  for (QTreeWidgetItemIterator it(FContents); *it; ++it)
    if ((*it)->data(0, kPageRole).toString().compare(page, Qt::CaseInsensitive) == 0) {
      FContents->setCurrentItem(*it);
      FContents->scrollToItem(*it);
      break;
    }
  QUrl url = TChmBrowser::UrlOf(object);
  if (!fragment.empty()) url.setFragment(Q(fragment));
  FBrowser->setSource(url);
  Present();
  return found;
}

void THelpWindow::ShowContents() {
  FTabs->setCurrentIndex(0);
  ShowTopic("");
}

bool THelpWindow::ShowKeyword(const std::string& keyword) {
  const QString key = Q(keyword).trimmed();
  for (int i = 0; i < FIndex->count(); ++i)
    if (FIndex->item(i)->text().compare(key, Qt::CaseInsensitive) == 0) {
      FKeyword->setText(key);
      FIndex->setCurrentRow(i);
      FTabs->setCurrentIndex(1);
      return ShowTopic(FIndex->item(i)->data(kPageRole).toString().toStdString());
    }
  // Not found: the index, with the keyword typed in for the reader to go on from.
  FTabs->setCurrentIndex(1);
  FKeyword->setText(key);
  if (FBrowser->source().isEmpty()) ShowTopic("");
  Present();
  return false;
}

std::string THelpWindow::CurrentPage() const {
  return TChmBrowser::ObjectOf(FBrowser->source());
}

std::string THelpWindow::CurrentTab() const {
  return FTabs->currentIndex() == 0 ? "Contents" : "Index";
}

int THelpWindow::ContentsCount() const {
  int n = 0;
  for (QTreeWidgetItemIterator it(FContents); *it; ++it) ++n;
  return n;
}

int THelpWindow::IndexCount() const {
  return FIndex->count();
}
