// The rules every preview section reads a scene file by: a key's value, the
// names of a layer's frame files, the scale and a layer box's place.

#include "core/preview/PreviewScene.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>

#include "tests/support/Printers.h"

namespace {

struct KeyRow {
    const char *label;
    const char *text;
    const char *key;
    bool present;
    const char *value;
};

TEST(PreviewRules, SceneKeyValue)
{
    const KeyRow rows[] = {
        {"plain", "BG=BeachBG.jpg;\r\nKM=BeachMouth01.jpg;\r\n", "KM=", true, "BeachMouth01.jpg"},
        {"LF line ends", "BG=BeachBG.jpg;\nKM=M01.jpg;\n", "KM=", true, "M01.jpg"},
        {"all on one line", "BG=a.jpg;KM=m01.jpg;KMx=10;", "KMx=", true, "10"},
        {"first occurrence counts", "KMx=10;\r\nKMx=20;\r\n", "KMx=", true, "10"},
        {"BG= inside MPABG= when it comes first", "MPABG=alpha.jpg;\r\nBG=b.jpg;\r\n", "BG=", true, "alpha.jpg"},
        {"BG= before MPABG=", "BG=b.jpg;\r\nMPABG=alpha.jpg;\r\n", "BG=", true, "b.jpg"},
        {"a key inside another's value", "NI=KM=x;\r\nKM=m01.jpg;\r\n", "KM=", true, "x"},
        {"empty value", "MD=;\r\n", "MD=", true, ""},
        {"value runs over the line end to the next ;", "KMx=10\r\nKMy=20;\r\n", "KMx=", true, "10\r\nKMy=20"},
        {"no ; after the key", "KMx=10\r\n", "KMx=", false, ""},
        {"absent", "KM=m01.jpg;\r\n", "KB=", false, ""},
        {"case counts", "km=m01.jpg;\r\n", "KM=", false, ""},
        {"empty text", "", "KM=", false, ""},
    };
    for (const KeyRow &row : rows) {
        const KeyValue v = SceneKeyValue(QString::fromUtf8(row.text), QString::fromUtf8(row.key));
        EXPECT_EQ(v.present, row.present) << row.label;
        EXPECT_EQ(v.value, QString::fromUtf8(row.value)) << row.label;
    }
}

TEST(PreviewRules, NameKeysMustBeBareNames)
{
    const struct {
        const char *label;
        const char *text;
        bool present;
    } rows[] = {
        {"plain", "KM=Mouth01.jpg;", true},
        {"blanks and accents", "KM=Caf\xc3\xa9 Mouth01.jpg;", true},
        {"parent folder", "KM=../x01.jpg;", false},
        {"absolute", "KM=/etc/passwd;", false},
        {"backslash", "KM=..\\x01.jpg;", false},
        {"drive", "KM=C:x01.jpg;", false},
        {"empty", "KM=;", false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(SceneNameValue(QString::fromUtf8(row.text), QStringLiteral("KM=")).present, row.present)
            << row.label;
    const BackgroundKeys keys = readBackgroundKeys(QStringLiteral("BG=../BG.jpg;\r\nNI=/etc/passwd;\r\n"));
    EXPECT_FALSE(keys.background.present);
    EXPECT_FALSE(keys.alternate.present);
}

TEST(PreviewRules, PreviewFrameName)
{
    // Each row runs on the locals the rows before it left, as the sections of one load do.
    const struct {
        const char *label;
        const char *value;
        int k;
        const char *name;
    } rows[] = {
        {"Mouth01.jpg", "Mouth01.jpg", 7, "Mouth07.jpg"},
        {"the last 01 splits", "Pic0101.bmp", 4, "Pic0104.bmp"},
        {"no 01 and no lower-case extension: the last ones", "Mouth1.JPG", 2, "Pic0102.bmp"},
        {".bmp wins over .jpg", "a.jpgB01.bmp.jpg", 3, "a.jpgB03.bmp"},
        {"a scene named a.bmp.x keeps its .jpg frames", "a.bmp.xMouth01.jpg", 5, "a.bmp.xMouth05.jpg"},
        {"a name ending in .bmp after 01", "x.jpg.Brow01.bmp", 9, "x.jpg.Brow09.bmp"},
        {"counted frame 9", "BeachExtra01.jpg", 9, "BeachExtra09.jpg"},
        {"counted frame 10", "BeachExtra01.jpg", 10, "BeachExtra10.jpg"},
        {"counted frame 1000", "BeachExtra01.jpg", 1000, "BeachExtra1000.jpg"},
        {"only an extension: base of the last key", "Other.bmp", 1, "BeachExtra01.bmp"},
    };
    PreviewLocals locals;
    for (const auto &row : rows)
        EXPECT_EQ(PreviewFrameName(locals, QString::fromUtf8(row.value), frameNumberText(row.k)),
                  QString::fromUtf8(row.name))
            << row.label;

    PreviewLocals fresh;
    EXPECT_EQ(PreviewFrameName(fresh, QStringLiteral("Mouth1.JPG"), QStringLiteral("01")), QStringLiteral("01"));
}

TEST(PreviewRules, RatioAndBoxPlace)
{
    EXPECT_EQ(PreviewRatio(1200, 800), 1.5);
    EXPECT_FALSE(PreviewRatio(1200, 0));

    PreviewLocals locals;
    locals.xText = QStringLiteral("10");
    locals.yText = QStringLiteral("12,5");
    // A 40 x 30 frame at 96 dpi measures 1058 x 794 HIMETRIC.
    BoxPlace place = PlacePreviewLayer(QSize(1058, 794), locals, 2.0, QPointF(3, 4));
    ASSERT_TRUE(place.width && place.height && place.left && place.top);
    EXPECT_NEAR(*place.width, 1058 / 26.4444 * 2 - 1, 1e-4);
    EXPECT_NEAR(*place.height, 794 / 26.4444 * 2 - 1, 1e-4);
    EXPECT_FLOAT_EQ(*place.left, 23);
    EXPECT_FLOAT_EQ(*place.top, 29);

    // No background: nothing is placed or sized.
    place = PlacePreviewLayer(QSize(1058, 794), locals, std::nullopt, QPointF());
    EXPECT_FALSE(place.width || place.height || place.left || place.top);

    // A place that is no number, or does not fit a single, keeps the box's own.
    const struct {
        const char *label;
        const char *x;
    } bad[] = {{"empty", ""}, {"text", "abc"}, {"beyond a single", "1e39"}, {"beyond a double", "1e400"},
               {"nan", "nan"}};
    for (const auto &row : bad) {
        locals.xText = QString::fromUtf8(row.x);
        place = PlacePreviewLayer(QSize(1058, 794), locals, 2.0, QPointF());
        EXPECT_FALSE(place.left) << row.label;
        EXPECT_TRUE(place.top) << row.label;
    }
    locals.xText = QStringLiteral("1e30");
    place = PlacePreviewLayer(QSize(1058, 794), locals, 2.0, QPointF());
    ASSERT_TRUE(place.left);
    EXPECT_FLOAT_EQ(*place.left, 2e30f);

    // A frame far smaller than a display pixel has no size to give.
    place = PlacePreviewLayer(QSize(26, 26), locals, 0.5, QPointF());
    EXPECT_FALSE(place.width);
}

TEST(PreviewRules, FrameSizeFromFrameOne)
{
    EXPECT_EQ(previewFrameSize(QSize(40, 30), 2.0), QSize(80, 60));
    // Halves to even: 5 x 0.5 = 2.5 -> 2, 7 x 0.5 = 3.5 -> 4.
    EXPECT_EQ(previewFrameSize(QSize(5, 7), 0.5), QSize(2, 4));
    EXPECT_FALSE(previewFrameSize(QSize(40, 30), std::nullopt));
    EXPECT_FALSE(previewFrameSize(QSize(1, 1), 0.1));
    // Too large for a picture: given as it is, for the resize to refuse.
    EXPECT_EQ(previewFrameSize(QSize(40, 30), 1200.0), QSize(48000, 36000));
    EXPECT_EQ(previewFrameSize(QSize(40, 30), 1e300), QSize(INT_MAX, INT_MAX));
}

} // namespace
