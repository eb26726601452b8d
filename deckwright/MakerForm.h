#pragma once
// TForm1: the card-set maker's main window. A card table shows either the 54 faces or the nine
// backs of the open set; a left click on a card asks for a picture and makes that card of the set
// from it (saved at once into the set's folder, where the game finds it), a right click shows the
// card zoomed. The File menu makes, opens, closes and deletes user card sets ("U_" + name); the
// four fading buttons above the table are New, Open, Faces and Backs.
//
// The maker works on the game's data folder: it starts only where the game has written its
// "Player.dat", and it can move that folder as the game does.

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "cardtable/CardTable.h"
#include "deckwright/UserCardSet.h"
#include "platform/core/StringList.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menus.h"

class TCardTableWidget;
class TFadeButton;
class TForm2;
class TForm3;
class TMenuBarWidget;

inline constexpr const char* kNeedsPatienceMessage =
    "Patience program must be run at least once before Deckwright can be used.";

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // ---------------------------------------------------------------------------------------------
  // What the window is made of

  TMenuItem MainMenu1{"MainMenu1"};
  TMenuBarWidget* ToolBar1 = nullptr;
  TImageList ImageList1{16, 16};
  QWidget* Panel1 = nullptr;
  TCardTableWidget* TableView = nullptr;
  std::unique_ptr<TCardTable> CardTable1;
  // The open set's second deck, not on the table: the pictures the maker edits and saves.
  std::unique_ptr<TCardDeck> TemplateDeck;
  TStringList OptionsList;
  std::string ProgramDir;
  std::string DocumentsDir;
  std::string LocalAppDataDir;
  TBitmap WoodTile;  // empty when there is no "Textures/wood.jpg"
  TFadeButton* FacesButton = nullptr;
  TFadeButton* BacksButton = nullptr;
  TFadeButton* NewButton = nullptr;
  TFadeButton* OpenButton = nullptr;
  std::unique_ptr<TForm3> Form3;
  // The help file opened by Deckwright Help.
  std::string HelpFile;

  TMenuItem* NewUserCardSet1 = nullptr;
  TMenuItem* OpenUserCardSet1 = nullptr;
  TMenuItem* Delete1 = nullptr;
  TMenuItem* Close1 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TMenuItem* Faces1 = nullptr;
  TMenuItem* Backs1 = nullptr;
  TMenuItem* ChangeSaveDataLocation1 = nullptr;
  TMenuItem* DeckwrightHelp1 = nullptr;
  TMenuItem* About1 = nullptr;

  // True when start-up found the game's data folder (else the program ends after the message).
  bool Started() const { return FStarted; }

  // ---------------------------------------------------------------------------------------------
  // Questions the window asks (tests answer them without dialogs)

  // The picture for a card: a file name, or nothing when cancelled ("Load Picture").
  std::function<std::optional<std::string>()> PicturePrompt;
  // The new-set dialog: true when it closed with OK (the set was then made).
  std::function<bool(TForm2& form)> NewSetPrompt;
  // The card set chooser: the chosen name, or nothing when cancelled or when there was nothing to
  // choose. UserOnly lists only "U_" sets.
  std::function<std::optional<std::string>(const std::string& current, bool userOnly)> SetChooser;
  // The question before a set is deleted: true for OK.
  std::function<bool(const std::string& name)> ConfirmDelete;

  // ---------------------------------------------------------------------------------------------
  // Commands

  void NewUserCardSet1Click();
  void OpenUserCardSet1Click();
  void Delete1Click();
  void Close1Click();
  void Exit1Click();
  void Faces1Click();
  void Backs1Click();
  void ChangeSaveDataLocation1Click();
  void DeckwrightHelp1Click();
  void About1Click();

  // Opens a set by name as the Open command does after its chooser.
  void OpenSet(const std::string& name);
  // The card table's card click: right button the zoom, any other the picture.
  void CardTable1CardClickEvent(TCard* Card, TMouseButton Button);
  // Lays out the 54 faces in six rows of nine, or the nine backs in three rows of three (a back
  // that cannot be read is laid out as back 1, and its failure told by the default handler).
  void DrawFaces();
  void DrawBacks();
  // The zoomed look at a card (its picture grows for fifteen frames, stays a second, goes).
  void ZoomCard(TCard* Card);
  // The left-click path with the picture already chosen.
  void ComposeFromPicture(TCard* Card, const std::string& pictureFile);

  // Where this set's pictures are written: the user card sets folder, or the card sets folder when
  // the data folder is the program folder.
  std::string SaveRoot() const;
  // The open set's name ("Standard" when none is open).
  std::string OpenSetName() const;
  // The set's options as read from OptionsList.
  TSetOptions SetOptions() const;
  // The template face of a card record: "C_1"'s for a user set, else the set's own.
  void GetCardFace(TBitmap& Bitmap, const TCard& CardRecord) const;
  // Saves the record's face as root/deck/file.
  void SaveCardFace(const std::string& Root, const std::string& DeckName, const TCard& CardRecord) const;
  // The zoom's pause, on the program's clock (tests shorten it).
  int ZoomHoldMs = 1000;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildMenus();
  void BuildImages();
  void CreateButtons();
  // A second deck of the named set as the maker edits it (54 cards, full size).
  std::unique_ptr<TCardDeck> MakeTemplateDeck(const std::string& name) const;
  void RebuildTemplateDeck(const std::string& name);
  void ReportError(const std::string& message);
  TCard* TemplateCardLike(const TCard& card) const;
  bool FStarted = false;
};
