// The card-set maker: the special folders first, then the toolkit, the main window with its
// progress window, and the loop.

#include <QApplication>

#include "cardtable/DeckPathForm.h"
#include "cardtable/SystemDirs.h"
#include "deckwright/MakerForm.h"
#include "patience/files/FileLocForm.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/Application.h"

int main(int argc, char** argv) {
  GiveLargeBlocksBackToTheSystem();
  InitSystemDirs();
  int rc = 0;
  {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Deckwright"));
    Application().Title = "Deckwright";
    InstallDeckPathDialog();
    InstallFileLocDialog();
    TForm1 form;
    // Without the game's data folder the window never shows: the message was the last word.
    if (!Application().Terminated() && form.Started()) {
      form.show();
      rc = app.exec();
    }
  }
  DoneSystemDirs();
  return rc;
}
