// Starts the window on the game folder the executable stands in.
#include <QApplication>

#include <csignal>

#include "app/frmconfig.h"
#include "app/userprompts.h"

int main(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // A file-size limit must fail the write with "File too large", not end the program with the player's changes.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    trelvane::UserPrompts prompts;
    trelvane::frmConfig window(QCoreApplication::applicationDirPath(), prompts);
    if (!window.Form_Load())
        return 1;  // the problem has been reported; nothing was written
    return app.exec();
}
