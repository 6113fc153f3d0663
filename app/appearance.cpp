#include "app/appearance.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <array>

#include "app/text.h"
#include "window/look.h"

namespace trelvane {

namespace {

// The family of the embedded font, registered with the first call.
const QString &fontFamily()
{
    static const QString family = [] {
        for (const char *style : {"Regular", "Bold"})
            QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/TrelvaneSans-%1.ttf").arg(QLatin1String(style)));
        return text(FontFamily);
    }();
    return family;
}

constexpr std::array<int, 6> IconSizes = {16, 32, 48, 64, 128, 256};

// The emblem drawn at each stored size up to `largest`. Unlike QIcon's own
// file engine it touches no file until a size is asked for.
class EmblemIconEngine : public QIconEngine {
public:
    explicit EmblemIconEngine(int largest) : largest_(largest) {}

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        // The smallest stored size that is large enough, else the largest.
        std::size_t i = 0;
        while (i + 1 < IconSizes.size() && IconSizes.at(i + 1) <= largest_ &&
               IconSizes.at(i) < std::max(size.width(), size.height()))
            ++i;
        QPixmap &stored = loaded_.at(i);
        if (stored.isNull())
            stored = QPixmap(QStringLiteral(":/icon/trelvane-%1.png").arg(IconSizes.at(i)));
        return stored.size() == size ? stored : stored.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int size : IconSizes)
            if (size <= largest_)
                sizes.append(QSize(size, size));
        return sizes;
    }

    QIconEngine *clone() const override { return new EmblemIconEngine(*this); }

private:
    int largest_;
    std::array<QPixmap, IconSizes.size()> loaded_;
};

// Hands the window its icon at every size once it has painted its first frame.
class LargeIconsAfterFirstFrame : public QObject {
public:
    explicit LargeIconsAfterFirstFrame(QWidget &window) : QObject(&window), window_(window)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &window_ && event->type() == QEvent::Paint) {
            window_.removeEventFilter(this);
            // Posted: handled once this paint has been flushed to the screen.
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
        return false;
    }

protected:
    void customEvent(QEvent *) override
    {
        window_.setWindowIcon(windowIconSet());
        deleteLater();
    }

private:
    QWidget &window_;
};

}  // namespace

QFont windowFont()
{
    QFont f(fontFamily());
    f.setPixelSize(FontPixels);
    // Pinned rather than left to the desktop's settings: full hinting may
    // widen letters by a pixel and break the captions' fit.
    f.setHintingPreference(QFont::PreferVerticalHinting);
    return f;
}

void lendWindowFontToPopups()
{
    QToolTip::setFont(windowFont());
    QApplication::setFont(windowFont(), "QMessageBox");
}

QIcon windowIconSet() { return QIcon(new EmblemIconEngine(IconSizes.back())); }

void giveWindowIcon(QWidget &window)
{
    // Title and task bars use the small sizes, at once; the large ones, for
    // switchers and docks, follow the first frame, because on X11 the server
    // takes a copy of every size before it maps the window, and a quarter
    // megabyte of 256-pixel icon would hold the window up by some milliseconds.
    constexpr int LargestAtOnce = 64;
    window.setWindowIcon(QIcon(new EmblemIconEngine(LargestAtOnce)));
    new LargeIconsAfterFirstFrame(window);
}

}  // namespace trelvane
