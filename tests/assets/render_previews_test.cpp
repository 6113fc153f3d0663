// The picture renderer: deterministic, and the committed pictures are what it
// currently makes (so nobody changed the renderer and forgot to regenerate).
#include "tools/previews.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include "imagediff.h"

#include <algorithm>
#include <cstdlib>

using trelvane::render::Preview;

namespace {

const std::vector<Preview> &rendered(int scale = 1)
{
    if (scale == 1) {
        static const std::vector<Preview> plain = trelvane::render::renderPreviews();
        return plain;
    }
    static const std::vector<Preview> sharp = trelvane::render::renderPreviews(trelvane::render::kHighDpiScale);
    return sharp;
}

}  // namespace

TEST(RenderPreviews, RenderingTwiceGivesTheSamePixels)
{
    const std::vector<Preview> again = trelvane::render::renderPreviews();
    ASSERT_EQ(again.size(), rendered().size());
    for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].name, rendered()[i].name);
        EXPECT_EQ(again[i].image, rendered()[i].image) << again[i].name.toStdString();
    }
    EXPECT_EQ(trelvane::render::renderIcon(32), trelvane::render::renderIcon(32));
    EXPECT_EQ(trelvane::render::renderIcon(256), trelvane::render::renderIcon(256));
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
    for (const int scale : {1, trelvane::render::kHighDpiScale}) {
        for (const Preview &p : rendered(scale)) {
            const QString file = p.name + (scale == 1 ? "" : "@2x") + ".jpg";
            SCOPED_TRACE(file.toStdString());
            const QImage committed(":/previews/" + file);
            ASSERT_FALSE(committed.isNull());
            ASSERT_EQ(committed.size(), p.image.size());
            // Compared after the same encoding: equal with the same JPEG library,
            // within a level or so with another; a changed scene moves far more.
            const QImage fresh = QImage::fromData(trelvane::render::encodeJpeg(p.image), "JPEG");
            ASSERT_FALSE(fresh.isNull());
            EXPECT_LT(meanDifference(committed.convertToFormat(QImage::Format_RGB32),
                                     fresh.convertToFormat(QImage::Format_RGB32)),
                      1.5);
        }
    }
}

TEST(RenderPreviews, CommittedIconMatchesTheRenderer)
{
    for (const int size : trelvane::render::kIconSizes) {
        const QImage committed(QStringLiteral(":/icon/trelvane-%1.png").arg(size));
        ASSERT_FALSE(committed.isNull()) << size;
        EXPECT_EQ(committed.convertToFormat(QImage::Format_RGB32),
                  trelvane::render::renderIcon(size).convertToFormat(QImage::Format_RGB32))
            << size;
    }
}

TEST(RenderPreviews, IconFileDecodesToTheSameImages)
{
    if (!QImageReader::supportedImageFormats().contains("ico"))
        GTEST_SKIP() << "no ICO reader in this Qt";
    std::vector<QImage> images;
    for (const int size : trelvane::render::kIconSizes)
        images.push_back(trelvane::render::renderIcon(size));
    QByteArray data = trelvane::render::icoFile(images);
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), static_cast<int>(images.size()));
    for (int i = 0; i < reader.imageCount(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage decoded = reader.read();
        ASSERT_FALSE(decoded.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32),
                  images[static_cast<size_t>(i)].convertToFormat(QImage::Format_RGB32));
    }
}
