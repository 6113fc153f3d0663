// The check-box and detail-slider previews as the player changes values.
#include <map>

#include "logicfixture.h"

namespace trelvane::testing {
namespace {

class PreviewTest : public LogicTest {
protected:
    void SetUp() override { ASSERT_TRUE(open(cfg(designTimeLines()))); }

    std::map<std::string, std::vector<int>> allShown() const
    {
        std::map<std::string, std::vector<int>> out;
        for (const Preview &p : Previews)
            out[p.group] = shown(p.group);
        return out;
    }
};

TEST_F(PreviewTest, ClickShowsTheOtherPictureAndASecondClickOnTheCaptionRestoresThePair)
{
    for (const Preview &p : TogglePreviews) {
        SCOPED_TRACE(p.control);
        click(p.control);
        EXPECT_EQ(value(p.control), 1);
        EXPECT_EQ(shown(p.group), std::vector<int>{1});
        logic->clicked(WindowLogic::captionRow(*WindowLayout[row(p.control)].field));
        EXPECT_EQ(value(p.control), 0);
        EXPECT_EQ(shown(p.group), std::vector<int>{0});
    }
}

TEST_F(PreviewTest, ClickTouchesOnlyItsOwnPair)
{
    for (const Preview &p : TogglePreviews) {
        auto before = allShown();
        click(p.control);
        auto after = allShown();
        before[p.group] = {1};
        EXPECT_EQ(after, before) << p.control;
        click(p.control);
    }
}

TEST_F(PreviewTest, GrayedCountsAsOnAndAClickNeverGrays)
{
    Lines lines = designTimeLines();
    lines[13] = "2";
    ASSERT_TRUE(open(cfg(lines)));
    EXPECT_EQ(value("chkParticles"), 2);
    EXPECT_EQ(shown("imgParticles"), std::vector<int>{1});
    for (int click = 0; click < 4; ++click) {
        this->click("chkParticles");
        EXPECT_EQ(value("chkParticles"), click % 2 == 0 ? 0 : 1) << click;
        EXPECT_EQ(shown("imgParticles"), std::vector<int>{click % 2 == 0 ? 0 : 1});
    }
}

TEST_F(PreviewTest, AGroupWithSeveralPicturesShownIsMendedByOneChange)
{
    for (int i : {2, 5, 7})
        view.shown[row("imgSphereDetail(" + std::to_string(i) + ")")] = true;
    change("sldSphereDetail", 4);
    EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{4});

    view.shown[row("imgMask(1)")] = true;  // both shown
    click("chkMask");
    EXPECT_EQ(shown("imgMask"), std::vector<int>{1});
    view.shown[row("imgMask(0)")] = view.shown[row("imgMask(1)")] = false;  // both hidden
    click("chkMask");
    EXPECT_EQ(shown("imgMask"), std::vector<int>{0});
}

TEST_F(PreviewTest, DetailSlidersShowTheirValuesPictureAndLeaveTheOtherRowAlone)
{
    for (int v = 0; v <= 8; ++v) {
        change("sldSphereDetail", v);
        EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{v});
        EXPECT_EQ(shown("imgOdoDetail"), std::vector<int>{0});
    }
    for (int v = 6; v <= 12; ++v) {
        change("sldOdoDetail", v);
        EXPECT_EQ(shown("imgOdoDetail"), std::vector<int>{v - 6});
        EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{8});
    }
    change("sldOdoDetail", 40);  // held to the range: still a picture that exists
    EXPECT_EQ(value("sldOdoDetail"), 12);
    EXPECT_EQ(shown("imgOdoDetail"), std::vector<int>{6});
}

}  // namespace
}  // namespace trelvane::testing
