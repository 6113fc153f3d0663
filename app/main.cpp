// Starts the window on the game folder the executable stands in.
#include <QApplication>

#include <csignal>

#include "app/frmconfig.h"
#include "app/text.h"
#include "app/userprompts.h"
#include "window/look.h"

int main(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // A file-size limit must fail the write with "File too large", not end the program with the player's changes.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    // What screen readers call the program. Not the display name, which Qt
    // would append to the title of every message box.
    QCoreApplication::setApplicationName(trelvane::text(trelvane::WindowTitle));
    trelvane::UserPrompts prompts;
    trelvane::frmConfig window(QCoreApplication::applicationDirPath(), prompts);
    if (!window.Form_Load())
        return 1;  // the problem has been reported; nothing was written
    return app.exec();
}
