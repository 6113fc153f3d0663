// Opening the window on a settings file: values, pictures, key selections.
#include <QSignalSpy>
#include <QTimer>
#include <random>

#include "keycatalogue.h"
#include "windowfixture.h"

namespace trelvane::testing {
namespace {

const std::vector<std::string> AllGroups = {"imgSphereDetail", "imgOdoDetail", "imgFPS",
                                            "imgScore", "imgLevel", "imgMask",
                                            "imgMirror", "imgTransparency", "imgParticles"};

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
    for (const std::string &g : AllGroups)
        EXPECT_EQ(shown(g), std::vector<int>{0}) << g;
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
        {1, "0", "imgSphereDetail", 0}, {1, "8", "imgSphereDetail", 8},
        {1, "2.5", "imgSphereDetail", 2}, {1, "3.5", "imgSphereDetail", 4},
        {2, "6", "imgOdoDetail", 0},     {2, "12", "imgOdoDetail", 6},
        {3, "1", "imgFPS", 1},           {8, "1", "imgTransparency", 1},
        {14, "1", "imgParticles", 1},    {14, "2", "imgParticles", 1},
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
    ASSERT_TRUE(open(cfg({"3", "9", "1", "0", "1", "0", "1", "0", "40", "2", ".29", "1",
                          "0.57", "2", "203", "205", "57", "51", "179"})));
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

TEST_F(WindowTest, BadSettingsFileIsReportedAndNothingIsWritten)
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
        {"not a number", cfg(abc), "line 4"},
        {"out of range", cfg(range), "line 1"},
        {"empty line", cfg(empty4), "line 4"},
        {"18 values", cfg(shortFile), "line 19"},
        {"a pipe", QByteArray(), "is not a regular file", true},
    };
    for (const BadFile &c : cases) {
        SCOPED_TRACE(c.what);
        prompts.errors.clear();
        QFile::remove(path("trelvane.cfg"));
        if (!c.bytes.isEmpty())
            writeFile("trelvane.cfg", c.bytes);
        if (c.pipe)
            makePipe(path("trelvane.cfg"));
        EXPECT_FALSE(openExisting());
        ASSERT_EQ(prompts.errors.size(), 1);
        EXPECT_TRUE(prompts.errors[0].contains("trelvane.cfg")) << prompts.errors[0].toStdString();
        EXPECT_TRUE(prompts.errors[0].contains(c.mustMention)) << prompts.errors[0].toStdString();
        EXPECT_EQ(readFile("trelvane.cfg"), c.bytes.isEmpty() ? QByteArray("<unreadable>") : c.bytes);
        EXPECT_FALSE(window->findChild<QTimer *>("tmrTransition")->isActive());
    }
}

}  // namespace
}  // namespace trelvane::testing
