// The message preview runs for as long as the window is open, so each of its
// steps must repaint the strip it moves in and nothing else of the window.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTest>
#include <map>

#include "windowfixture.h"

namespace trelvane::testing {
namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            if (auto *w = qobject_cast<QWidget *>(watched))
                ++counts[w];
        return false;
    }
    std::map<QWidget *, int> counts;
};

QByteArray settingsAtSpeed(int speed)
{
    QStringList lines = designTimeLines();
    lines[8] = QString::number(speed);
    return cfg(lines);
}

// Runs ticks one by one, letting every repaint they ask for happen before the
// next; returns how many of them moved a label.
int tick(frmConfig &window, QLabel *a, QLabel *b, int ticks)
{
    int moves = 0;
    for (int i = 0; i < ticks; ++i) {
        const QPoint pa = a->pos(), pb = b->pos();
        window.tmrTransition_Timer();
        moves += (a->pos() != pa || b->pos() != pb) ? 1 : 0;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    return moves;
}

class StripPaintTest : public WindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(StripPaintTest, TicksRepaintOnlyTheMessageStrip)
{
    ASSERT_TRUE(open(settingsAtSpeed(GetParam())));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QWidget *strip = window->findChild<QWidget *>("messageStrip");
    ASSERT_NE(strip, nullptr);
    QLabel *msg0 = get<QLabel>("lblMsg(0)");
    QLabel *msg1 = get<QLabel>("lblMsg(1)");
    ASSERT_TRUE(strip->isAncestorOf(msg0) && strip->isAncestorOf(msg1));
    tick(*window, msg0, msg1, 1);  // the first full paint of the window is not the animation's

    PaintCounter counter;
    qApp->installEventFilter(&counter);
    // Long enough for a transition, a hold and a swap at every speed tested.
    const int moves = tick(*window, msg0, msg1, 300);
    qApp->removeEventFilter(&counter);

    EXPECT_GE(moves, 5) << "the preview hardly moved";
    EXPECT_GT(counter.counts[msg0] + counter.counts[msg1], 0) << "no step was painted";
    for (const auto &[widget, count] : counter.counts)
        EXPECT_TRUE(widget == strip || strip->isAncestorOf(widget))
            << widget->objectName().toStdString() << " was painted " << count << " times";
}

INSTANTIATE_TEST_SUITE_P(Speeds, StripPaintTest, ::testing::Values(1, 7, 100, 320));

}  // namespace
}  // namespace trelvane::testing
