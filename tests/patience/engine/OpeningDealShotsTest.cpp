// Pictures of the opening deal of games of many families on the generated "Standard" set, written
// as PNG files to "engine-shots/" in the test folder for a person to look at. Each picture is
// also checked: every dealt card shows on the table where the engine put it.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "platform/core/Files.h"
#include "tests/patience/engine/EngineTestUtil.h"

namespace {

const char* const kGames[] = {"Klondike 1 [Turn over 1]",
                              "Freecell",
                              "Spider",
                              "Doublets",
                              "The Clock",
                              "Fan",
                              "Streets",
                              "One Foundation",
                              "Concentration",
                              "Aces Up",
                              "Osmosis",
                              "Egyptian Pyramid",
                              "Holding Pattern",
                              "Beleaguered Castle",
                              "Canfield",
                              "Yukon",
                              "Freecell 10x6"};

std::string FileNameOf(std::string caption) {
  for (char& ch : caption)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return caption;
}

TEST(OpeningDealShotsTest, GamesOfEveryFamilyDealOnTheRealCards) {
  const std::string sets = PathJoin(BuiltProgramDir(), "Cardsets");
  if (!DirectoryExists(PathJoin(sets, "Standard"))) GTEST_SKIP() << "the card sets are not built";
  QDir().mkpath("engine-shots");
  for (bool extended : {false, true}) {
    TEngineRig rig(1200, 860, sets);
    rig.Table->SetColor(0x206020);
    rig.Host.Extended = extended;
    rig.Engine->ApplyLayout(extended);
    for (const char* game : kGames) {
      rig.Deal(game, 2024);
      EXPECT_TRUE(DealIsSound(*rig.Engine, *rig.Table));
      // The top card of each tableau pile shows its face where the engine put it.
      const TCardDeck& d = *rig.Table->CardDeck();
      for (const TCardList& pile : rig.Engine->Rules.TableauPiles) {
        const TCard* top = TopCard(pile);
        if (!top) continue;
        EXPECT_TRUE(top->Displayed) << game;
        EXPECT_EQ(rig.Table->DisplayIndex(top) > 0, true) << game;
        const TBitmap& shown = top->FaceUp ? top->Face : d.Back;
        const int cx = top->X + d.CardWidth / 2, cy = top->Y + d.CardHeight / 2;
        EXPECT_EQ(rig.Table->Buffer.Pixel(cx, cy), shown.Pixel(d.CardWidth / 2, d.CardHeight / 2)) << game;
      }
      const std::string file =
          std::string("engine-shots/") + (extended ? "extended_" : "compact_") + FileNameOf(game) + ".png";
      EXPECT_TRUE(rig.Table->Buffer.ToQImage().save(QString::fromStdString(file))) << file;
    }
  }
}

}  // namespace
