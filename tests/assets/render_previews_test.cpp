// The picture renderer: deterministic, and the committed pictures are what it
// currently makes (so nobody changed the renderer and forgot to regenerate).
#include "previews.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include "imagediff.h"

#include <algorithm>
#include <cstdlib>

using trelvane::render::Preview;

namespace {

const std::vector<Preview> &rendered()
{
    static const std::vector<Preview> pictures = trelvane::render::renderPreviews();
    return pictures;
}

} // namespace

TEST(RenderPreviews, RenderingTwiceGivesTheSamePixels)
{
    const std::vector<Preview> again = trelvane::render::renderPreviews();
    ASSERT_EQ(again.size(), rendered().size());
    for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].name, rendered()[i].name);
        EXPECT_EQ(again[i].image, rendered()[i].image) << again[i].name.toStdString();
    }
    EXPECT_EQ(trelvane::render::renderIcon(32), trelvane::render::renderIcon(32));
}

TEST(RenderPreviews, MakesTwentyNineDistinctlyNamedPictures)
{
    std::vector<QString> names;
    for (const Preview &p : rendered()) {
        EXPECT_EQ(p.image.size(), QSize(trelvane::render::kPreviewSize, trelvane::render::kPreviewSize));
        names.push_back(p.name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
    EXPECT_EQ(names.size(), 29u);
}

TEST(RenderPreviews, CommittedPicturesMatchTheRenderer)
{
    for (const Preview &p : rendered()) {
        SCOPED_TRACE(p.name.toStdString());
        const QImage committed(":/previews/" + p.name + ".jpg");
        ASSERT_FALSE(committed.isNull());
        ASSERT_EQ(committed.size(), p.image.size());
        // Compared after the same encoding: equal with the same JPEG library,
        // within a level or so with another; a changed scene moves far more.
        const QImage fresh = QImage::fromData(trelvane::render::encodeJpeg(p.image), "JPEG");
        ASSERT_FALSE(fresh.isNull());
        EXPECT_LT(meanDifference(committed.convertToFormat(QImage::Format_RGB32), fresh.convertToFormat(QImage::Format_RGB32)),
                  1.5);
    }
}

TEST(RenderPreviews, CommittedIconMatchesTheRenderer)
{
    const QImage committed(":/icon/trelvane.png");
    ASSERT_FALSE(committed.isNull());
    EXPECT_EQ(committed.convertToFormat(QImage::Format_RGB32),
              trelvane::render::renderIcon(32).convertToFormat(QImage::Format_RGB32));
}

TEST(RenderPreviews, IconFileDecodesToTheSameImages)
{
    if (!QImageReader::supportedImageFormats().contains("ico"))
        GTEST_SKIP() << "no ICO reader in this Qt";
    const std::vector<QImage> images = {trelvane::render::renderIcon(16), trelvane::render::renderIcon(32),
                                        trelvane::render::renderIcon(48)};
    QByteArray data = trelvane::render::icoFile(images);
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage decoded = reader.read();
        ASSERT_FALSE(decoded.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32),
                  images[static_cast<size_t>(i)].convertToFormat(QImage::Format_RGB32));
    }
}
