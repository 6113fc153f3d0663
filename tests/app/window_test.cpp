// The window's frame, the stacking that the previews rely on, and captions
// that fit their boxes.
#include <QAbstractItemView>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QToolTip>

#include "app/twips.h"
#include "window/layouttable.h"
#include "windowfixture.h"

namespace trelvane::testing {
namespace {

TEST_F(WindowTest, FixedSizeWindowWithACloseBoxOnly)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    EXPECT_EQ(window->windowTitle(), "Trelvane Configuration Utility");
    EXPECT_EQ(window->size(), QSize(668, 530));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window->windowIcon().isNull());
    // Every size of the icon, the large ones once the first frame is painted.
    const QList<QSize> sizes = {{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->windowIcon().availableSizes() == sizes; }));
    EXPECT_EQ(window->windowIcon().pixmap(QSize(256, 256)).size(), QSize(256, 256));
    for (QPushButton *b : window->findChildren<QPushButton *>())
        EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();  // Enter presses no button by itself
}

TEST_F(WindowTest, EveryControlLiesInsideTheWindow)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    const QRect client = window->rect();
    for (const ControlDef &def : WindowLayout) {
        if (def.kind == ControlKind::Timer)
            continue;
        EXPECT_TRUE(client.contains(toPixels(def.left, def.top, def.width, def.height)))
            << def.name << " " << def.index;
    }
}

TEST_F(WindowTest, AKeyNameTheListCutsIsWholeInItsDropDownAndTooltip)
{
    QStringList lines = designTimeLines();
    lines[14] = "201";  // Page Up/Prior; the other lists hold ESCAPE
    ASSERT_TRUE(open(cfg(lines)));
    for (const auto &[slot, cut] : {std::pair{0, true}, {1, false}}) {
        QComboBox *list = keys(slot);
        QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), list->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(list, &hover);
        EXPECT_EQ(QToolTip::text().startsWith("<p><b>" + list->currentText() + "</b>"), cut)
            << QToolTip::text().toStdString();
        QToolTip::hideText();
    }
    QComboBox *list = keys(0);
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, list->view()->fontMetrics().horizontalAdvance(list->itemText(i)));
    list->showPopup();
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    EXPECT_GE(list->view()->viewport()->width(), widest + margins);
    list->hidePopup();
}

TEST_F(WindowTest, ControlWindowsLieAboveEveryPictureAndLabel)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    // A sibling later in the child list is drawn above the earlier ones.
    const QObjectList children = window->children();
    int lowestControl = children.size();
    int highestDrawing = -1;
    for (int i = 0; i < children.size(); ++i) {
        auto *w = qobject_cast<QWidget *>(children[i]);
        if (!w)
            continue;
        const bool control =
            w->inherits("QAbstractSlider") || w->inherits("QComboBox") || w->inherits("QAbstractButton");
        if (control)
            lowestControl = std::min(lowestControl, i);
        else
            highestDrawing = std::max(highestDrawing, i);
    }
    EXPECT_LT(highestDrawing, lowestControl);
}

TEST_F(WindowTest, EveryCaptionFitsThePartOfItsBoxThatNoControlWindowCovers)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    // The font the program carries, not whatever the machine matches for it.
    EXPECT_EQ(QFontInfo(window->font()).family().toStdString(), "Trelvane Sans");
    for (const QComboBox *list : window->findChildren<QComboBox *>())
        EXPECT_EQ(list->font(), window->font());
    // Windows of their own, which inherit no font from the window.
    EXPECT_EQ(QFontInfo(QToolTip::font()).family().toStdString(), "Trelvane Sans");
    QMessageBox box(window.get());
    box.ensurePolished();  // as when shown
    EXPECT_EQ(QFontInfo(box.font()).family().toStdString(), "Trelvane Sans");

    for (const ControlDef &def : WindowLayout) {
        if (def.text.empty() || (def.kind != ControlKind::Label && def.kind != ControlKind::PushButton))
            continue;
        const std::string name =
            def.index < 0 ? std::string(def.name) : std::string(def.name) + "(" + std::to_string(def.index) + ")";
        SCOPED_TRACE(name);
        if (def.kind == ControlKind::PushButton) {
            const QWidget *button = get<QWidget>(name.c_str());
            EXPECT_EQ(button->font(), window->font());
            EXPECT_LE(button->sizeHint().width(), button->width());
            continue;
        }
        const QLabel *label = get<QLabel>(name.c_str());
        EXPECT_EQ(label->font().family(), window->font().family());
        const QRect box(label->mapTo(window.get(), QPoint(0, 0)), label->size());
        if (def.look == Look::Plain) {
            EXPECT_EQ(box, toPixels(def.left, def.top, def.width, def.height)) << "a fixed-size label keeps its box";
        }
        // The caption's line where the label draws it, to the fraction of a pixel: on a
        // screen at 150 or 200 % (the test runs at those too) a fraction is a whole row.
        const QFontMetricsF metrics(label->font(), label);
        const QRectF inside = QRectF(label->contentsRect()).translated(box.topLeft());
        QRectF text(inside.topLeft(), QSizeF(metrics.horizontalAdvance(label->text()), metrics.height()));
        if (label->alignment() & Qt::AlignVCenter)
            text.moveTop(inside.top() + (inside.height() - text.height()) / 2);
        EXPECT_TRUE(QRectF(box).contains(text)) << "text " << text.width() << " px wide, box " << box.width();
        for (const ControlDef &other : WindowLayout) {
            const QRectF covered = toPixels(other.left, other.top, other.width, other.height);
            if (other.isWindowed()) {  // nor touches one: that reads as run into it
                EXPECT_FALSE(covered.intersects(text.adjusted(0, 0, 1, 0)))
                    << other.name << " " << other.index << " covers from " << covered.left() << "," << covered.top()
                    << "; the text ends at " << text.right() << "," << text.bottom();
            }
        }
    }
}

}  // namespace
}  // namespace trelvane::testing
