#pragma once
// The menu tree as a model that exists without any widget: items with a name, a caption, the
// enabled, visible and checked states, an image index, a click handler and a draw handler, and
// their children. Programs build their menus here, look commands up by caption and click them;
// the Qt menus (QtMenus.h) are drawn from the tree whenever they open.
//
//   TMenuItem root("MainMenu1");
//   TMenuItem* game = root.Add("Game1", " Game ");
//   TMenuItem* quit = game->Add("QuitProgram1", "Quit Program");
//   quit->OnClick = [](TMenuItem&) { ... };
//   root.Find(" game ")->Find("quit program")->Click();
//
// A click honours Enabled: a disabled item does nothing. Captions keep their "&" hot-key
// markers; SameCaption compares captions as the menus match them.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Types.h"

class TCanvas;
class TMenuItem;

using TMenuClickEvent = std::function<void(TMenuItem& Sender)>;
// Draws the item into ARect of ACanvas; Selected is set while the pointer or the keyboard is on it.
using TMenuDrawEvent =
    std::function<void(TMenuItem& Sender, TCanvas& ACanvas, const TRect& ARect, bool Selected)>;

// The caption without its hot-key markers: every single "&" goes, "&&" becomes a literal "&".
std::string StripHotkey(std::string_view caption);
// The caption as drawn by the owner-drawn menus: only its first "&" removed.
std::string StripFirstAmpersand(std::string_view caption);
// The menus' caption match: hot-key markers ignored and case ignored (for every letter UTF-8
// can hold, not just ASCII).
bool SameCaption(std::string_view a, std::string_view b);

class TMenuItem {
 public:
  explicit TMenuItem(std::string name = {}, std::string caption = {});
  ~TMenuItem();
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  const std::string& Name() const { return FName; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string caption);
  // A separator line.
  bool IsLine() const { return FCaption == "-"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  // The picture of the menu's image list; -1 for none.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  int Tag = 0;

  TMenuClickEvent OnClick;
  TMenuDrawEvent OnDrawItem;

  // Runs OnClick when the item is enabled (and has a handler).
  void Click();

  // ---------------------------------------------------------------------------------------------
  // The tree

  TMenuItem* Parent() const { return FParent; }
  int Count() const { return int(FItems.size()); }
  // Child i (0-based); nullptr outside the range.
  TMenuItem* Items(int i) const;
  TMenuItem* operator[](int i) const { return Items(i); }
  int IndexOf(const TMenuItem* item) const;
  // Appends a new child and returns it.
  TMenuItem* Add(std::string name, std::string caption);
  // Inserts a new child before index i (appended when i is past the end).
  TMenuItem* Insert(int i, std::string name, std::string caption);
  // Frees child i and everything under it.
  void Delete(int i);
  // Frees every child.
  void Clear();

  // The direct child whose caption matches (SameCaption); nullptr when none does.
  TMenuItem* Find(std::string_view caption) const;
  // This item or the first item under it (depth first, in menu order) with exactly this name.
  TMenuItem* FindByName(std::string_view name);
  // Calls f for every item under this one, depth first in menu order (not for this item).
  void ForEach(const std::function<void(TMenuItem&)>& f);

  // The root of the tree hears of every change below it (captions, states, children added or
  // removed), so views can follow. Only the root's listener is called.
  std::function<void(TMenuItem& changed)> OnChange;

 private:
  void Changed();

  std::string FName;
  std::string FCaption;
  bool FEnabled = true;
  bool FVisible = true;
  bool FChecked = false;
  int FImageIndex = -1;
  TMenuItem* FParent = nullptr;
  std::vector<std::unique_ptr<TMenuItem>> FItems;
};
