// The card-set maker: the special folders first, then the toolkit (with the default handler that
// reports a failed command and goes on), the main window with its progress window, and the loop.

#include "cardtable/DeckPathForm.h"
#include "cardtable/SystemDirs.h"
#include "deckwright/MakerForm.h"
#include "patience/files/FileLocForm.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/Application.h"
#include "platform/ui/DefaultHandler.h"

int main(int argc, char** argv) {
  GiveLargeBlocksBackToTheSystem();
  InitSystemDirs();
  int rc = 0;
  {
    TGuiApplication app(argc, argv);
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
