// The preview pictures that screens of each pixel density get.
#include <QTest>

#include "app/previewpicture.h"
#include "window/layouttable.h"
#include "windowfixture.h"

namespace trelvane::testing {
namespace {

TEST_F(WindowTest, PlainScreensGetThePlainPictureAndDenseOnesTheSharpCopyInTheSameBox)
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
    ASSERT_TRUE(open(cfg(designTimeLines())));
    EXPECT_EQ(get<QLabel>("imgSphereDetail(0)")->pixmap().toImage(), QImage(":/previews/sphere-detail-0.jpg"));
}

}  // namespace
}  // namespace trelvane::testing
