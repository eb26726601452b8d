#include "cardtable/VistaFuncs.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

#include "platform/core/Text.h"

namespace {
std::function<bool(const std::string&)>& FontCheck() {
  static std::function<bool(const std::string&)> f;
  return f;
}
}  // namespace

bool IsNewWindowsVersion() {
  return true;
}

bool IsFontInstalled(const std::string& family) {
  if (FontCheck()) return FontCheck()(family);
  for (const QString& f : QFontDatabase::families())
    if (SameText(f.toStdString(), family)) return true;
  return false;
}

void SetFontInstalledCheckForTesting(std::function<bool(const std::string&)> check) {
  FontCheck() = std::move(check);
}

void ApplySystemUiFont(QWidget* form) {
  if (!form || !IsNewWindowsVersion()) return;
  QFont f = form->font();
  if (SameText(f.family().toStdString(), "Segoe UI") || !IsFontInstalled("Segoe UI")) return;
  const qreal size = f.pointSizeF() > 0 ? f.pointSizeF() : 8;
  f.setFamily("Segoe UI");
  f.setPointSizeF(size + 1);
  form->setFont(f);
}
