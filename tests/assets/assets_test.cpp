// The embedded preview pictures and icon: present under the names the window
// looks up, decodable, the right size, in colour, and each one telling its
// setting apart from its neighbours; every picture also in its twice-size copy.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "imagediff.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>

namespace {

const QStringList &pictureNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (int i = 0; i <= 8; ++i)
            n << QStringLiteral("sphere-detail-%1").arg(i);
        for (int i = 0; i <= 6; ++i)
            n << QStringLiteral("odometer-detail-%1").arg(i);
        n += {"score-off", "score-on", "level-off", "level-on",   "transparency-off", "transparency-on", "fps-off",
              "fps-on",    "mask-off", "mask-on",   "mirror-off", "mirror-on",        "particles-on"};
        return n;
    }();
    return names;
}

QString resourcePath(const QString &name) { return ":/previews/" + name + ".jpg"; }

// Where each copy of a picture is stored, and its size in pixels.
struct Copy {
    const char *suffix;
    int size;
};
constexpr Copy Copies[] = {{"", 85}, {"@2x", 170}};

constexpr int IconSizes[] = {16, 32, 48, 64, 128, 256};

const QImage &picture(const QString &name)
{
    static std::map<QString, QImage> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.emplace(name, QImage(resourcePath(name)).convertToFormat(QImage::Format_RGB32)).first;
    return it->second;
}

// Pixels whose channels spread by more than `spread`: the picture is in colour.
int colourfulPixels(const QImage &img, int spread)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            const int hi = std::max({qRed(p), qGreen(p), qBlue(p)});
            const int lo = std::min({qRed(p), qGreen(p), qBlue(p)});
            n += hi - lo > spread;
        }
    return n;
}

// Two decodes of different pictures differ by more than JPEG noise: well
// above the one or two levels a re-encode of the same picture moves pixels.
constexpr double kDistinct = 1.5;

}  // namespace

TEST(Assets, TheResourceFolderHoldsExactlyThePictureSet)
{
    const QStringList entries = QDir(":/previews").entryList(QDir::Files, QDir::Name);
    QStringList expected;
    for (const QString &n : pictureNames())
        for (const Copy &c : Copies)
            expected << n + c.suffix + ".jpg";
    expected.sort();
    EXPECT_EQ(entries, expected);
    // The particles "off" picture is the transparency "off" one, not a file of its own.
    EXPECT_FALSE(QFile::exists(":/previews/particles-off.jpg"));
}

TEST(Assets, EveryPictureDecodesAsAColourJpegOfItsCopysSize)
{
    for (const QString &plainName : pictureNames()) {
        for (const Copy &c : Copies) {
            const QString name = plainName + c.suffix;
            SCOPED_TRACE(name.toStdString());
            QFile f(resourcePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            ASSERT_GE(bytes.size(), 4);
            EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
            EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);

            const QImage &img = picture(name);
            ASSERT_FALSE(img.isNull());
            EXPECT_EQ(img.width(), c.size);
            EXPECT_EQ(img.height(), c.size);
            EXPECT_FALSE(img.allGray());
            EXPECT_GE(colourfulPixels(img, 40), 20) << "too little colour";
        }
    }
}

TEST(Assets, TheSharpCopyShowsTheSamePictureAsThePlainOne)
{
    // Halved again, each copy is nearer its own plain picture than any other.
    for (const QString &name : pictureNames()) {
        SCOPED_TRACE(name.toStdString());
        const QImage halved = picture(name + "@2x").scaled(85, 85, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QString nearest;
        double best = 1e9;
        for (const QString &other : pictureNames())
            if (const double d = meanDifference(halved, picture(other)); d < best) {
                best = d;
                nearest = other;
            }
        EXPECT_EQ(nearest, name);
    }
}

TEST(Assets, NoTwoPicturesAreAlike)
{
    const QStringList &names = pictureNames();
    for (qsizetype i = 0; i < names.size(); ++i)
        for (qsizetype j = i + 1; j < names.size(); ++j) {
            const QImage &a = picture(names[i]), &b = picture(names[j]);
            ASSERT_FALSE(a.isNull());
            ASSERT_FALSE(b.isNull());
            EXPECT_NE(a, b) << names[i].toStdString() << " and " << names[j].toStdString();
            EXPECT_GT(meanDifference(a, b), kDistinct)
                << names[i].toStdString() << " and " << names[j].toStdString() << " are nearly the same";
        }
}

TEST(Assets, NeighbouringDetailStepsDiffer)
{
    for (const char *row : {"sphere-detail-%1", "odometer-detail-%1"}) {
        const int last = QString(row).startsWith("sphere") ? 8 : 6;
        for (int i = 0; i < last; ++i) {
            const QString a = QString(row).arg(i), b = QString(row).arg(i + 1);
            SCOPED_TRACE((a + " / " + b).toStdString());
            EXPECT_GT(meanDifference(picture(a), picture(b)), kDistinct);
        }
    }
}

TEST(Assets, OnAndOffPicturesOfAnOptionDiffer)
{
    for (const char *option : {"score", "level", "transparency", "fps", "mask", "mirror"}) {
        const QString off = QString(option) + "-off", on = QString(option) + "-on";
        SCOPED_TRACE(option);
        EXPECT_GT(meanDifference(picture(off), picture(on)), kDistinct);
    }
    // Particles: off shows the transparency "off" picture.
    EXPECT_GT(meanDifference(picture("transparency-off"), picture("particles-on")), kDistinct);
}

TEST(Assets, FrameRatePicturesDifferOnlyWhereTheReadoutIs)
{
    // The two share the game view; the readout sits in the top left panel.
    const QImage &off = picture("fps-off"), &on = picture("fps-on");
    const QRect panel(0, 0, 56, 18);
    double inside = 0, outside = 0;
    int nIn = 0, nOut = 0;
    for (int y = 0; y < 85; ++y)
        for (int x = 0; x < 85; ++x) {
            const QRgb p = off.pixel(x, y), q = on.pixel(x, y);
            const int d = std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            if (panel.contains(x, y)) {
                inside += d;
                ++nIn;
            } else if (x >= 64 || y >= 32) {  // clear of the JPEG blocks the panel touches
                outside += d;
                ++nOut;
            }
        }
    EXPECT_GT(inside / nIn, 20.0);
    EXPECT_LT(outside / nOut, 3.0);
}

TEST(Assets, IconIsAnOpaqueColourImageAtEverySize)
{
    for (const int size : IconSizes) {
        SCOPED_TRACE(size);
        const QImage icon(QStringLiteral(":/icon/trelvane-%1.png").arg(size));
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_FALSE(icon.hasAlphaChannel());
        EXPECT_FALSE(icon.allGray());
        // A red ground: the corners are red.
        const int last = size - 1;
        for (const QPoint p : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)}) {
            const QRgb c = icon.pixel(p);
            EXPECT_GT(qRed(c), qGreen(c) + 60);
            EXPECT_GT(qRed(c), qBlue(c) + 60);
        }
    }
}

TEST(Assets, WindowsIconFileHoldsEverySize)
{
    QFile f(QStringLiteral(TRELVANE_ASSETS_DIR) + "/icon/trelvane.ico");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    constexpr int count = std::size(IconSizes);
    ASSERT_GE(data.size(), 6 + count * 16);
    auto u8 = [&](qsizetype i) { return static_cast<unsigned>(static_cast<unsigned char>(data[i])); };
    auto u16 = [&](qsizetype i) { return u8(i) | (u8(i + 1) << 8); };
    auto u32 = [&](qsizetype i) { return u16(i) | (u16(i + 2) << 16); };
    EXPECT_EQ(u16(0), 0u);
    EXPECT_EQ(u16(2), 1u);
    ASSERT_EQ(u16(4), static_cast<unsigned>(count));
    QSet<unsigned> sizes;
    for (int e = 0; e < count; ++e) {
        const qsizetype entry = 6 + e * 16;
        // A byte holds the size; 0 stands for 256.
        const unsigned w = u8(entry) ? u8(entry) : 256, h = u8(entry + 1) ? u8(entry + 1) : 256;
        EXPECT_EQ(w, h);
        sizes.insert(w);
        const unsigned bytes = u32(entry + 8), offset = u32(entry + 12);
        ASSERT_LE(static_cast<qsizetype>(offset) + bytes, data.size());
        // A bitmap entry: its header gives the same width and twice the height.
        EXPECT_EQ(u32(offset), 40u);
        EXPECT_EQ(u32(offset + 4), w);
        EXPECT_EQ(u32(offset + 8), 2 * h);
        EXPECT_EQ(u16(offset + 14), 24u);
        EXPECT_EQ(bytes, 40 + (w * 3 + 3) / 4 * 4 * h + (w + 31) / 32 * 4 * h);
    }
    EXPECT_EQ(sizes, QSet<unsigned>(std::begin(IconSizes), std::end(IconSizes)));
}
