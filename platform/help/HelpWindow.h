#pragma once
// The help window: one modeless window showing a compiled help file, with its contents tree and
// its index beside a text browser. The browser takes every page, picture and style sheet from
// the help file: links inside a page ("page.htm", "../x.htm#part", "ms-its:file::/page.htm",
// "mk:@MSITStore:file::/page.htm") resolve within it.

#include <QTextBrowser>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/help/ChmFile.h"

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;

// A text browser whose resources come from a help file; "chm:///path" names an object.
class TChmBrowser : public QTextBrowser {
  Q_OBJECT
 public:
  explicit TChmBrowser(QWidget* parent = nullptr);
  void SetFile(const TChmFile* file) { FFile = file; }
  QVariant loadResource(int type, const QUrl& name) override;
  // The object a link names, or "" when it lies outside the file.
  static std::string ObjectOf(const QUrl& url);
  static QUrl UrlOf(const std::string& objectPath);

 private:
  const TChmFile* FFile = nullptr;
};

class THelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit THelpWindow(QWidget* parent = nullptr);
  ~THelpWindow() override;

  // Opens the help file (again when another is asked for); false when it cannot be read.
  bool OpenFile(const std::string& path);
  const TChmFile* File() const { return FFile.get(); }

  // Shows the page; an empty topic shows the default page. False (and a note in the browser) when
  // the file holds no such page.
  bool ShowTopic(const std::string& topic);
  // Shows the contents tab and the default page.
  void ShowContents();
  // Looks the keyword up in the index: its page when one entry has exactly that name (any case),
  // else the index tab with the keyword typed in. True when a page was found.
  bool ShowKeyword(const std::string& keyword);

  // What shows: the page ("/html/x.htm"), the tab ("Contents" or "Index") and the entries.
  std::string CurrentPage() const;
  std::string CurrentTab() const;
  int ContentsCount() const;
  int IndexCount() const;
  TChmBrowser* Browser() const { return FBrowser; }

 private:
  void Fill();
  void FilterIndex(const QString& text);
  void Present();

  std::unique_ptr<TChmFile> FFile;
  QTabWidget* FTabs = nullptr;
  QTreeWidget* FContents = nullptr;
  QLineEdit* FKeyword = nullptr;
  QListWidget* FIndex = nullptr;
  TChmBrowser* FBrowser = nullptr;
};
