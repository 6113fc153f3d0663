// Opening the window on a settings file: values, pictures, key selections.
#include <QSignalSpy>
#include <QTimer>
#include <random>

#include "keys/keycatalogue.h"
#include "windowfixture.h"

namespace trelvane::testing {
namespace {

QStringList linesWith(std::initializer_list<std::pair<int, const char *>> changes)
{
    QStringList lines = designTimeLines();
    for (const auto &[line, value] : changes)
        lines[line - 1] = value;
    return lines;
}

TEST_F(WindowTest, DesignTimeFileShowsPictureZeroEverywhereWithoutAnyHandler)
{
    writeFile("trelvane.cfg", cfg(designTimeLines()));
    window = std::make_unique<frmConfig>(dir.path(), prompts);
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QCheckBox *box : window->findChildren<QCheckBox *>())
        spies.push_back(std::make_unique<QSignalSpy>(box, &QCheckBox::stateChanged));
    for (QSlider *s : window->findChildren<QSlider *>())
        spies.push_back(std::make_unique<QSignalSpy>(s, &QSlider::valueChanged));
    ASSERT_EQ(spies.size(), 9u + 5u);

    ASSERT_TRUE(window->Form_Load());
    for (const auto &spy : spies)
        EXPECT_EQ(spy->count(), 0) << spy->signal().constData();
    for (const Preview &p : Previews)
        EXPECT_EQ(shown(p.group), std::vector<int>{0}) << p.group;
}

struct PictureCase {
    int line;
    const char *value;
    std::string group;
    int picture;
};

TEST_F(WindowTest, EachLoadedValueShowsItsOnePicture)
{
    const std::vector<PictureCase> cases = {
        {1, "0", "imgSphereDetail", 0},
        {1, "8", "imgSphereDetail", 8},
        {1, "2.5", "imgSphereDetail", 2},
        {1, "3.5", "imgSphereDetail", 4},
        {2, "6", "imgOdoDetail", 0},
        {2, "12", "imgOdoDetail", 6},
        {3, "1", "imgFPS", 1},
        {8, "1", "imgTransparency", 1},
        {14, "1", "imgParticles", 1},
        {14, "2", "imgParticles", 1},
        {14, "0", "imgParticles", 0},
    };
    for (const PictureCase &c : cases) {
        SCOPED_TRACE(std::string("line ") + std::to_string(c.line) + " = " + c.value);
        ASSERT_TRUE(open(cfg(linesWith({{c.line, c.value}}))));
        EXPECT_EQ(shown(c.group), std::vector<int>{c.picture});
    }
}

TEST_F(WindowTest, AnyValidFileLeavesExactlyTheRightPictureInEveryGroup)
{
    std::mt19937 random(20261207);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 60; ++round) {
        const int sphere = pick(0, 8), odo = pick(6, 12), particles = pick(0, 2);
        std::array<int, 6> toggles{};
        for (int &t : toggles)
            t = pick(0, 1);
        QStringList lines = designTimeLines();
        lines[0] = QString::number(sphere);
        lines[1] = QString::number(odo);
        for (int i = 0; i < 6; ++i)
            lines[2 + i] = QString::number(toggles[i]);
        lines[8] = QString::number(pick(1, 320));
        lines[13] = QString::number(particles);
        SCOPED_TRACE(lines.join(",").toStdString());
        ASSERT_TRUE(open(cfg(lines)));

        EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{sphere});
        EXPECT_EQ(shown("imgOdoDetail"), std::vector<int>{odo - 6});
        const char *pairs[] = {"imgFPS", "imgScore", "imgLevel", "imgMask", "imgMirror", "imgTransparency"};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(shown(pairs[i]), std::vector<int>{toggles[i]}) << pairs[i];
        EXPECT_EQ(shown("imgParticles"), std::vector<int>{particles == 0 ? 0 : 1});
    }
}

TEST_F(WindowTest, ControlsHoldTheLoadedValues)
{
    ASSERT_TRUE(open(cfg({"3", "9", "1", "0", "1", "0", "1", "0", "40", "2", ".29", "1", "0.57", "2", "203", "205",
                          "57", "51", "179"})));
    EXPECT_EQ(slider("sldSphereDetail")->value(), 3);
    EXPECT_EQ(slider("sldOdoDetail")->value(), 9);
    EXPECT_EQ(slider("sldMsgTrans")->value(), 40);
    EXPECT_EQ(slider("sldSound")->value(), 29);
    EXPECT_EQ(slider("sldMusic")->value(), 57);
    EXPECT_EQ(check("chkSound")->checkState(), Qt::PartiallyChecked);  // grayed
    EXPECT_EQ(check("chkMusic")->checkState(), Qt::Checked);
    EXPECT_EQ(check("chkParticles")->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(keys(0)->currentText(), "Left");
    EXPECT_EQ(keys(1)->currentText(), "Right");
    EXPECT_EQ(keys(2)->currentText(), "Space");
    EXPECT_EQ(keys(3)->currentIndex(), 50);
    EXPECT_EQ(keys(4)->currentIndex(), 114);
}

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

TEST_F(WindowTest, UnknownOrMissingKeyCodesShowEscape)
{
    ASSERT_TRUE(open(cfg(linesWith({{15, "0"}, {16, "84"}, {17, "257"}, {18, "-1"}, {19, "jump"}}))));
    for (int slot = 0; slot < 5; ++slot)
        EXPECT_EQ(keys(slot)->currentText(), "ESCAPE") << slot;
}

struct BadFile {
    const char *what;
    QByteArray bytes;  // empty: no file at all
    QString mustMention;
    bool pipe = false;  // a named pipe under the file's name
};

struct FactoryFile {
    const char *what;
    QByteArray bytes;  // empty: no file at all
    QByteArray written;  // what OK writes after choosing it; empty: the choice is not offered
    QString mustMention;  // in the box's extra line when not offered
};

enum class Answer { Close, FactoryThenOk, FactoryThenCancel };

TEST_F(WindowTest, BadSettingsFileIsReportedAndOffersTheFactorySettingsWhenTheyLoad)
{
    QStringList abc = designTimeLines();
    abc[3] = "abc";
    QStringList range = designTimeLines();
    range[0] = "9";
    QStringList empty4 = designTimeLines();
    empty4[3] = "";
    QStringList shortFile = designTimeLines();
    shortFile.removeLast();
    const std::vector<BadFile> cases = {
        {"missing", QByteArray(), "trelvane.cfg"},
        {"not a number", cfg(abc), "line 4 (Complex Score): \"abc\" is not a number."},
        {"out of range", cfg(range), "line 1"},
        {"empty line", cfg(empty4), "line 4"},
        {"18 values", cfg(shortFile), "line 19"},
        {"a pipe", QByteArray(), "is not a regular file", true},
    };
    const QStringList factory = {" 3",  "9", "\"1\"", "",  "1",   "0",   "1",  "0",   "20", "1",
                                 "0.8", "0", ".25",   "1", "203", "205", "57", "999", "32", "extra"};
    const QStringList written = {"3",  "9", "1",   "0", "1",   "0",   "1",  "0", "20", "1",
                                 ".8", "0", ".25", "1", "203", "205", "57", "1", "32"};
    QStringList factoryRange = written;
    factoryRange[1] = "13";
    const std::vector<FactoryFile> factories = {
        // Read as Restore Defaults reads it: the blank line 4 is 0, not an error.
        {"good factory file", cfg(factory), cfg(written), {}},
        {"no factory file", QByteArray(), QByteArray(), "default.cfg"},
        {"factory out of range", cfg(factoryRange), QByteArray(), "default.cfg, line 2 (Score Odometer Detail)"},
        {"factory too short", "3\r\n9\r\n", QByteArray(), "default.cfg, line 3"},
    };
    for (const FactoryFile &f : factories) {
        QFile::remove(path("default.cfg"));
        if (!f.bytes.isEmpty())
            writeFile("default.cfg", f.bytes);
        // What Restore Defaults makes of the same file, from the same starting state.
        QFile::remove(path("trelvane.cfg"));  // the last case leaves a pipe
        ASSERT_TRUE(open(cfg(designTimeLines())));
        window->cmdRestore_Click();
        const QStringList restored = snapshot();
        const bool offered = !f.written.isEmpty();

        for (const BadFile &c : cases) {
            for (Answer answer : {Answer::Close, Answer::FactoryThenOk, Answer::FactoryThenCancel}) {
                SCOPED_TRACE(std::string(f.what) + ", " + c.what + ", answer " + std::to_string(int(answer)));
                prompts.errors.clear();
                prompts.factoryOffers.clear();
                prompts.useFactorySettings = answer != Answer::Close;
                QFile::remove(path("trelvane.cfg"));
                if (!c.bytes.isEmpty())
                    writeFile("trelvane.cfg", c.bytes);
                if (c.pipe)
                    makePipe(path("trelvane.cfg"));
                const bool opened = openExisting();
                ASSERT_EQ(prompts.errors.size(), 1);
                const std::string message = prompts.errors[0].toStdString();
                EXPECT_TRUE(prompts.errors[0].contains("trelvane.cfg")) << message;
                EXPECT_TRUE(prompts.errors[0].contains(c.mustMention)) << message;
                EXPECT_FALSE(prompts.errors[0].contains(":):")) << message;
                EXPECT_EQ(prompts.factoryOffers, QList<bool>{offered});
                if (!offered) {
                    const QString extraLine = prompts.errors[0].section('\n', 1, 1);
                    EXPECT_TRUE(extraLine.startsWith("The factory settings cannot be used either: ")) << message;
                    EXPECT_TRUE(extraLine.contains(f.mustMention)) << message;
                }

                const bool useFactory = offered && answer != Answer::Close;
                EXPECT_EQ(opened, useFactory);
                EXPECT_EQ(window->findChild<QTimer *>("tmrTransition")->isActive(), useFactory);
                const QByteArray untouched = c.bytes.isEmpty() ? QByteArray("<unreadable>") : c.bytes;
                EXPECT_EQ(readFile("trelvane.cfg"), untouched);
                EXPECT_EQ(readFile("default.cfg"), f.bytes.isEmpty() ? QByteArray("<unreadable>") : f.bytes);
                if (!useFactory)
                    continue;
                EXPECT_EQ(snapshot(), restored);
                if (c.pipe) {  // nothing can replace it; saving onto it is refused elsewhere
                    window->cmdCancel_Click();
                    continue;
                }
                if (answer == Answer::FactoryThenOk) {
                    window->cmdOK_Click();
                    EXPECT_EQ(readFile("trelvane.cfg"), f.written);
                } else {
                    window->cmdCancel_Click();
                    EXPECT_EQ(readFile("trelvane.cfg"), untouched);
                }
                EXPECT_FALSE(window->isVisible());
            }
        }
    }
}

}  // namespace
}  // namespace trelvane::testing
