// The check-box and detail-slider previews as the player changes values, and
// the pictures that screens of each pixel density get.
#include <QTest>

#include "app/previewpicture.h"
#include "window/layouttable.h"
#include "windowfixture.h"

namespace trelvane::testing {
namespace {

class PreviewTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(open(cfg(designTimeLines())));
    }

    std::map<std::string, std::vector<int>> allShown() const
    {
        std::map<std::string, std::vector<int>> out;
        for (const char *g : {"imgSphereDetail", "imgOdoDetail", "imgFPS", "imgScore", "imgLevel", "imgMask",
                              "imgMirror", "imgTransparency", "imgParticles"})
            out[g] = shown(g);
        return out;
    }
};

TEST_F(PreviewTest, ClickShowsTheOtherPictureAndASecondClickRestoresThePair)
{
    for (const Preview &p : TogglePreviews) {
        SCOPED_TRACE(p.control);
        QCheckBox *box = check(p.control);
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(box->checkState(), Qt::Checked);
        EXPECT_EQ(shown(p.group), std::vector<int>{1});
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(box->checkState(), Qt::Unchecked);
        EXPECT_EQ(shown(p.group), std::vector<int>{0});
    }
}

TEST_F(PreviewTest, ClickTouchesOnlyItsOwnPair)
{
    for (const Preview &p : TogglePreviews) {
        auto before = allShown();
        QTest::mouseClick(check(p.control), Qt::LeftButton);
        auto after = allShown();
        before[p.group] = {1};
        EXPECT_EQ(after, before) << p.control;
        QTest::mouseClick(check(p.control), Qt::LeftButton);
    }
}

TEST_F(PreviewTest, GrayedCountsAsOnAndAClickNeverGrays)
{
    ASSERT_TRUE(open(cfg([] {
        QStringList l = designTimeLines();
        l[13] = "2";
        return l;
    }())));
    QCheckBox *box = check("chkParticles");
    EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(shown("imgParticles"), std::vector<int>{1});
    for (int click = 0; click < 4; ++click) {
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_NE(box->checkState(), Qt::PartiallyChecked) << click;
        EXPECT_EQ(shown("imgParticles"), std::vector<int>{box->checkState() == Qt::Checked ? 1 : 0});
    }
}

TEST_F(PreviewTest, AGroupWithSeveralPicturesShownIsMendedByOneChange)
{
    for (int i : {2, 5, 7})
        get<QLabel>(("imgSphereDetail(" + std::to_string(i) + ")").c_str())->show();
    slider("sldSphereDetail")->setValue(4);
    EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{4});

    QLabel *mask[] = {get<QLabel>("imgMask(0)"), get<QLabel>("imgMask(1)")};
    mask[1]->show();  // both shown
    QTest::mouseClick(check("chkMask"), Qt::LeftButton);
    EXPECT_EQ(shown("imgMask"), std::vector<int>{1});
    mask[0]->hide();
    mask[1]->hide();  // both hidden
    QTest::mouseClick(check("chkMask"), Qt::LeftButton);
    EXPECT_EQ(shown("imgMask"), std::vector<int>{0});
}

TEST_F(PreviewTest, DetailSlidersShowTheirValuesPictureAndLeaveTheOtherRowAlone)
{
    QSlider *sphere = slider("sldSphereDetail");
    QSlider *odo = slider("sldOdoDetail");
    for (int v = 0; v <= 8; ++v) {
        sphere->setValue(v);
        EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{v});
        EXPECT_EQ(shown("imgOdoDetail"), std::vector<int>{0});
    }
    for (int v = 6; v <= 12; ++v) {
        odo->setValue(v);
        EXPECT_EQ(shown("imgOdoDetail"), std::vector<int>{v - 6});
        EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{8});
    }
    odo->setValue(40);  // clamped to the range: still a picture that exists
    EXPECT_EQ(shown("imgOdoDetail"), std::vector<int>{6});
}

TEST_F(PreviewTest, PlainScreensGetThePlainPictureAndDenseOnesTheSharpCopyInTheSameBox)
{
    struct Screen {
        qreal ratio;
        bool sharp;
    };
    for (const ControlDef &def : WindowLayout) {
        if (def.kind != ControlKind::Picture)
            continue;
        const QString resource = ":/previews/" + QString::fromUtf8(def.text.data(), static_cast<int>(def.text.size()));
        SCOPED_TRACE(resource.toStdString());
        const QImage plain(resource);
        ASSERT_EQ(plain.size(), QSize(85, 85));
        for (const Screen s : {Screen{1, false}, Screen{1.25, false}, Screen{1.5, true}, Screen{2, true}}) {
            const QPixmap shown = loadPicture(resource, s.ratio);
            EXPECT_EQ(shown.deviceIndependentSize(), QSizeF(85, 85)) << s.ratio;
            EXPECT_EQ(shown.size(), s.sharp ? QSize(170, 170) : QSize(85, 85)) << s.ratio;
            if (!s.sharp) {
                EXPECT_EQ(shown.toImage(), plain) << s.ratio;
            }
        }
    }
    // These tests run at ratio 1: the window shows the plain pictures unchanged.
    EXPECT_EQ(get<QLabel>("imgSphereDetail(0)")->pixmap().toImage(), QImage(":/previews/sphere-detail-0.jpg"));
}

}  // namespace
}  // namespace trelvane::testing
