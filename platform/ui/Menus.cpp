#include "platform/ui/Menus.h"

#include <algorithm>

#include <QString>

std::string StripHotkey(std::string_view caption) {
  std::string out;
  out.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      // The marker goes; what follows it (a letter, or the second "&" of "&&") stays as it is.
      if (++i < caption.size()) out += caption[i];
      continue;
    }
    out += caption[i];
  }
  return out;
}

std::string StripFirstAmpersand(std::string_view caption) {
  std::string out(caption);
  const size_t at = out.find('&');
  if (at != std::string::npos) out.erase(at, 1);
  return out;
}

bool SameCaption(std::string_view a, std::string_view b) {
  const std::string sa = StripHotkey(a), sb = StripHotkey(b);
  if (sa == sb) return true;
  return QString::fromUtf8(sa.data(), qsizetype(sa.size()))
             .compare(QString::fromUtf8(sb.data(), qsizetype(sb.size())), Qt::CaseInsensitive) == 0;
}

TMenuItem::TMenuItem(std::string name, std::string caption)
    : FName(std::move(name)), FCaption(std::move(caption)) {}

TMenuItem::~TMenuItem() = default;

void TMenuItem::Changed() {
  TMenuItem* root = this;
  while (root->FParent) root = root->FParent;
  if (root->OnChange) root->OnChange(*this);
}

void TMenuItem::SetCaption(std::string caption) {
  if (caption == FCaption) return;
  FCaption = std::move(caption);
  Changed();
}

void TMenuItem::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Changed();
}

void TMenuItem::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  Changed();
}

void TMenuItem::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  Changed();
}

void TMenuItem::SetImageIndex(int value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  Changed();
}

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(*this);
}

TMenuItem* TMenuItem::Items(int i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return FItems[size_t(i)].get();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[size_t(i)].get() == item) return i;
  return -1;
}

TMenuItem* TMenuItem::Add(std::string name, std::string caption) {
  return Insert(Count(), std::move(name), std::move(caption));
}

TMenuItem* TMenuItem::Insert(int i, std::string name, std::string caption) {
  auto item = std::make_unique<TMenuItem>(std::move(name), std::move(caption));
  item->FParent = this;
  TMenuItem* raw = item.get();
  const int at = std::clamp(i, 0, Count());
  FItems.insert(FItems.begin() + at, std::move(item));
  Changed();
  return raw;
}

void TMenuItem::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  // Out of the list first, so a listener never sees a half-freed child.
  std::unique_ptr<TMenuItem> gone = std::move(FItems[size_t(i)]);
  FItems.erase(FItems.begin() + i);
  gone->FParent = nullptr;
  gone.reset();
  Changed();
}

void TMenuItem::Clear() {
  if (FItems.empty()) return;
  std::vector<std::unique_ptr<TMenuItem>> gone;
  gone.swap(FItems);
  for (auto& item : gone) item->FParent = nullptr;
  gone.clear();
  Changed();
}

TMenuItem* TMenuItem::Find(std::string_view caption) const {
  for (const auto& item : FItems)
    if (SameCaption(item->FCaption, caption)) return item.get();
  return nullptr;
}

TMenuItem* TMenuItem::FindByName(std::string_view name) {
  if (FName == name) return this;
  for (const auto& item : FItems)
    if (TMenuItem* found = item->FindByName(name)) return found;
  return nullptr;
}

void TMenuItem::ForEach(const std::function<void(TMenuItem&)>& f) {
  for (size_t i = 0; i < FItems.size(); ++i) {
    TMenuItem& item = *FItems[i];
    f(item);
    item.ForEach(f);
  }
}
