// The key lists as the window fills them, and the box a file that cannot be loaded brings.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "keys/keycatalogue.h"
#include "windowfixture.h"

namespace trelvane::testing {
namespace {

TEST_F(WindowTest, KeyListsHoldTheCatalogueInOrder)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    for (int slot = 0; slot < 5; ++slot) {
        QComboBox *list = keys(slot);
        ASSERT_EQ(list->count(), KeyCount);
        EXPECT_EQ(list->itemText(0), "ESCAPE");
        EXPECT_EQ(list->itemText(8), "8");
        EXPECT_EQ(list->itemText(10), "0");
        EXPECT_EQ(list->itemText(50), "Comma (,)");
        EXPECT_EQ(list->itemText(114), "Comma (,)");
        EXPECT_EQ(list->itemText(143), "Media Select");
    }
}

// The program's own message box, not the test's answers: its buttons are what the player is offered.
TEST_F(WindowTest, TheLoadErrorBoxOffersTheFactorySettingsOnlyWhenTheyLoad)
{
    for (const bool factoryLoads : {true, false}) {
        SCOPED_TRACE(factoryLoads ? "good default.cfg" : "bad default.cfg");
        writeFile("trelvane.cfg", "abc\r\n");
        writeFile("default.cfg", factoryLoads ? cfg(designTimeLines()) : QByteArray("abc\r\n"));
        UserPrompts prompts;
        frmConfig shown(dir.path(), prompts);
        QStringList buttons;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                poll.stop();
                for (const QAbstractButton *b : box->buttons())
                    buttons << b->text();
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        poll.start(10);
        EXPECT_FALSE(shown.Form_Load());
        EXPECT_EQ(buttons.size(), factoryLoads ? 2 : 1) << buttons.join(", ").toStdString();
        EXPECT_EQ(buttons.contains("&Use Factory Settings"), factoryLoads) << buttons.join(", ").toStdString();
    }
}

}  // namespace
}  // namespace trelvane::testing
