// The preview's zoom arithmetic without a window: the zooms that fit a page,
// and where the page image lands in the area. The page is Letter at 96 pixels
// per inch (816 x 1056) unless a row says otherwise.

#include "preview/previewzoom.h"

#include <gtest/gtest.h>

namespace pellion {
namespace {

const QSize letter(816, 1056);

TEST(PreviewZoom, AllowsTwoToTwoThousandPerCent) {
    EXPECT_FALSE(zoomAllowed(1));
    EXPECT_TRUE(zoomAllowed(2));
    EXPECT_TRUE(zoomAllowed(2000));
    EXPECT_FALSE(zoomAllowed(2001));
}

TEST(PreviewZoom, FitTakesTheSmallerOfWidthAndLengthAtNinetyFivePerCent) {
    struct Case {
        const char* situation;
        QSize area;
        int zoom;
    };
    const Case cases[] = {
        {"a landscape window: the length decides", {800, 600}, 54}, // 93.1 and 54.0
        {"a tall window: the width decides", {2000, 3000}, 233},    // 232.8 and 269.9
        {"a tiny window computes a zoom below the minimum", {10, 10}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(fitZoom(c.area, letter), c.zoom);
    }
}

TEST(PreviewZoom, WidthFitsTheAreaWidthAtNinetyPerCent) {
    EXPECT_EQ(widthZoom(800, 816), 88);   // 88.2
    EXPECT_EQ(widthZoom(1000, 816), 110); // 110.3
}

TEST(PreviewZoom, PageImageIsCentredWhereItIsSmallerThanTheArea) {
    struct Case {
        const char* situation;
        QSize area;
        QSize page;
        int zoom;
        QRect image;
    };
    const Case cases[] = {
        {"smaller both ways: centred", {800, 600}, letter, 50, {194, 34, 412, 532}},
        {"odd room: whole-number halves", {801, 601}, letter, 50, {194, 34, 412, 532}},
        {"exactly the area's width: not centred", {412, 600}, letter, 50, {0, 34, 412, 532}},
        {"larger both ways: top-left", {800, 600}, letter, 100, {0, 0, 820, 1060}},
        {"a half pixel rounds to even", {800, 600}, {817, 1057}, 50, {194, 34, 412, 532}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(pageImageGeometry(c.area, c.page, c.zoom), c.image);
    }
}

} // namespace
} // namespace pellion
