// The menu model: caption matching, look-up, clicks that honour Enabled, the tree and its change
// notices.
#include <gtest/gtest.h>

#include "platform/ui/Menus.h"

TEST(MenuCaption, HotkeyMarkersAreStrippedAsTheMenusDo) {
  EXPECT_EQ(StripHotkey("&File"), "File");
  EXPECT_EQ(StripHotkey("Save &As"), "Save As");
  // "&&" is a literal ampersand: the first marker goes, the character after it stays.
  EXPECT_EQ(StripHotkey("Salt && Pepper"), "Salt & Pepper");
  EXPECT_EQ(StripHotkey("&&Foo"), "&Foo");
  EXPECT_EQ(StripHotkey("trailing&"), "trailing");
  // Drawing removes only the first marker.
  EXPECT_EQ(StripFirstAmpersand("&&Foo"), "&Foo");
  EXPECT_EQ(StripFirstAmpersand("A&B&C"), "AB&C");
  EXPECT_EQ(StripFirstAmpersand("None"), "None");
}

TEST(MenuCaption, MatchIgnoresMarkersAndCase) {
  EXPECT_TRUE(SameCaption("&Klondike 1 [Turn over 1]", "klondike 1 [turn OVER 1]"));
  EXPECT_TRUE(SameCaption(" Game Type ", " game type "));
  EXPECT_FALSE(SameCaption(" Game Type ", "Game Type"));  // the blanks count
  EXPECT_FALSE(SameCaption("Freecell", "Freecell 4x5"));
  EXPECT_TRUE(SameCaption("\xC3\x84rger", "\xC3\xA4RGER"));  // case folding beyond ASCII
  EXPECT_TRUE(SameCaption("", "&"));
}

TEST(MenuModel, ClickRunsTheHandlerOnlyWhenEnabled) {
  TMenuItem root("Root");
  TMenuItem* item = root.Add("Item1", "Item");
  int clicks = 0;
  TMenuItem* sender = nullptr;
  item->OnClick = [&](TMenuItem& s) {
    ++clicks;
    sender = &s;
  };
  item->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sender, item);
  item->SetEnabled(false);
  item->Click();
  EXPECT_EQ(clicks, 1);
  item->SetEnabled(true);
  item->SetVisible(false);  // a hidden command still runs when clicked from code
  item->Click();
  EXPECT_EQ(clicks, 2);
  root.Add("Bare", "No handler")->Click();  // nothing to run, nothing happens
}

TEST(MenuModel, TreeOperationsKeepOrderAndParents) {
  TMenuItem root("Root");
  TMenuItem* a = root.Add("A1", "A");
  TMenuItem* c = root.Add("C1", "C");
  TMenuItem* b = root.Insert(1, "B1", "B");
  TMenuItem* first = root.Insert(-5, "Z1", "Z");
  TMenuItem* last = root.Insert(99, "Y1", "Y");
  ASSERT_EQ(root.Count(), 5);
  EXPECT_EQ(root[0], first);
  EXPECT_EQ(root[1], a);
  EXPECT_EQ(root[2], b);
  EXPECT_EQ(root[3], c);
  EXPECT_EQ(root[4], last);
  EXPECT_EQ(root.Items(5), nullptr);
  EXPECT_EQ(root.Items(-1), nullptr);
  EXPECT_EQ(b->Parent(), &root);
  EXPECT_EQ(root.IndexOf(c), 3);
  TMenuItem* deep = b->Add("Deep1", "Deep");
  EXPECT_EQ(root.FindByName("Deep1"), deep);
  EXPECT_EQ(root.FindByName("Root"), &root);
  EXPECT_EQ(root.FindByName("nothing"), nullptr);
  root.Delete(2);
  EXPECT_EQ(root.Count(), 4);
  EXPECT_EQ(root.IndexOf(c), 2);
  EXPECT_EQ(root.FindByName("Deep1"), nullptr);
  root.Delete(17);  // out of range: nothing
  EXPECT_EQ(root.Count(), 4);
  root.Clear();
  EXPECT_EQ(root.Count(), 0);
}

TEST(MenuModel, FindLooksAtDirectChildrenOnly) {
  TMenuItem root("Root");
  TMenuItem* group = root.Add("G1", "&Group");
  group->Add("X1", "Inner");
  TMenuItem* top = root.Add("T1", "Top");
  EXPECT_EQ(root.Find("group"), group);
  EXPECT_EQ(root.Find("TOP"), top);
  EXPECT_EQ(root.Find("Inner"), nullptr);
  EXPECT_EQ(root.Find("-"), nullptr);
}

TEST(MenuModel, TheRootHearsEveryChangeBelowIt) {
  TMenuItem root("Root");
  TMenuItem* top = root.Add("T1", "Top");
  TMenuItem* leaf = top->Add("L1", "Leaf");
  std::vector<TMenuItem*> heard;
  root.OnChange = [&](TMenuItem& changed) { heard.push_back(&changed); };
  leaf->SetEnabled(false);
  leaf->SetEnabled(false);  // no change, no notice
  leaf->SetChecked(true);
  leaf->SetImageIndex(3);
  top->SetVisible(false);
  top->SetCaption("New");
  top->Add("L2", "Other");
  top->Delete(0);
  ASSERT_EQ(heard.size(), 7u);
  EXPECT_EQ(heard[0], leaf);
  EXPECT_EQ(heard[3], top);
  EXPECT_EQ(heard[5], top);  // a child added: its parent changed
  EXPECT_EQ(heard[6], top);
  // A listener on an inner item is never called: only the root's is.
  int inner = 0;
  top->OnChange = [&](TMenuItem&) { ++inner; };
  top->Items(0)->SetChecked(true);
  EXPECT_EQ(inner, 0);
}

TEST(MenuModel, ForEachWalksDepthFirstInMenuOrder) {
  TMenuItem root("Root");
  TMenuItem* a = root.Add("A", "A");
  a->Add("A1", "A1");
  a->Add("A2", "A2")->Add("A21", "A21");
  root.Add("B", "B");
  std::string order;
  root.ForEach([&](TMenuItem& item) { order += item.Name() + " "; });
  EXPECT_EQ(order, "A A1 A2 A21 B ");
}
