// Draws the window as it opens on a game folder, for the README:
//   window_picture <game-folder> <out.png>
// Headless: the window paints itself off screen, at one device pixel per
// pixel, just as it first appears on a desktop.
#include <QApplication>
#include <QPixmap>

#include <cstdio>

#include "app/frmconfig.h"
#include "app/userprompts.h"

namespace {

// A picture run has nobody to answer a message box: print the message instead.
class PrintedPrompts : public trelvane::UserPrompts {
public:
    bool confirm(QWidget *, const QString &, const QString &) override { return false; }
    void error(QWidget *, const QString &message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
};

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_picture <game-folder> <out.png>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrintedPrompts prompts;
    trelvane::frmConfig window(QString::fromLocal8Bit(argv[1]), prompts);
    if (!window.Form_Load())
        return 1;
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
