#pragma once
// The " Game Type " menu: every game three ways. "Alphabetical Games" holds each caption once in
// six letter groups (the custom Freecell sizes in their own submenu), "Small Screen Games" the
// games that fit a small screen, "Favourites" what the player picked, then the fourteen type
// submenus, which again hold each caption once. A game item's caption is exactly the game's name,
// which is how saved games, favourites and the start screen find it.

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Menus.h"

struct TGameMenus {
  TMenuItem* Alphabeticallist1 = nullptr;  // "Alphabetical Games"
  TMenuItem* N800x600Games1 = nullptr;     // "Small Screen Games"
  TMenuItem* Favourites1 = nullptr;        // "Favourites"
};

// One group of a menu: its caption and the captions of its items in menu order. A caption
// "Freecell Custom" stands for the submenu of the custom Freecell sizes.
struct TMenuGroup {
  std::string Caption;
  std::vector<std::string> Items;
  std::vector<TMenuGroup> Groups;  // nested groups (shown before Items when both are given)
};

// The six letter groups of "Alphabetical Games", drawn from the catalogue.
std::vector<TMenuGroup> AlphabeticalGroups();
// "Small Screen Games" and the fourteen type submenus, as the menu lists them.
const std::vector<TMenuGroup>& SmallScreenGroups();
const std::vector<TMenuGroup>& GameTypeMenus();
// "Freecell 4x4" style captions of the custom sizes, in menu order.
std::vector<std::string> FreecellCustomCaptions();

// Fills ChooseGame1 with its children. Every game item gets onGameClick as its handler.
TGameMenus BuildGameTypeMenu(TMenuItem& ChooseGame1, const TMenuClickEvent& onGameClick);

// Whether the item is a game item of the " Game Type " menu (a leaf under one of its lists).
bool IsGameItem(const TMenuItem& item);
