// The window at the scale QT_SCALE_FACTOR gives this process (ctest runs it at several):
// every frame line drawn, none lost between two device pixels.
#include "tests/qt/window_harness.h"

#include <QDialog>
#include <QImage>
#include <QPixmap>

#include <cstdlib>

namespace {

// Along `count` pixels from `from` by `step`: how many show the colour at `reference`,
// there or one device pixel inward (`inward`), where a scaled line may be antialiased.
int matching(const QImage& image, QPoint from, QPoint step, QPoint inward, int count,
             QPoint reference) {
    int same = 0;
    const QRgb expected = image.pixel(reference);
    for (int i = 0; i < count; ++i, from += step)
        same += image.pixel(from) == expected || image.pixel(from + inward) == expected;
    return same;
}

TEST_F(WindowTest, HintBoxFrameIsWholeOnEverySide) {
    start();
    const QImage box = control(IDC_HINT)->grab().toImage();
    ASSERT_GT(box.width(), 10);
    const int w = box.width();
    const int h = box.height();
    // The frame's far sides in the colour of its near sides, along most of their length
    // (the corners and the scroll bar's ends may differ).
    EXPECT_GT(matching(box, {w - 1, 4}, {0, 1}, {-1, 0}, h - 8, {0, h / 2}), (h - 8) * 9 / 10)
        << "right border at scale " << std::getenv("QT_SCALE_FACTOR");
    EXPECT_GT(matching(box, {4, h - 1}, {1, 0}, {0, -1}, w - 8, {w / 2, 0}), (w - 8) * 9 / 10)
        << "bottom border at scale " << std::getenv("QT_SCALE_FACTOR");
}

TEST(PixelGrid, LogicalPixelsThatMakeWholeDevicePixels) {
    EXPECT_EQ(pixelGrid(1.0), 1);
    EXPECT_EQ(pixelGrid(2.0), 1);
    EXPECT_EQ(pixelGrid(1.5), 2);
    EXPECT_EQ(pixelGrid(1.25), 4);
    EXPECT_EQ(pixelGrid(1.75), 4);
    EXPECT_EQ(pixelGrid(1.1), 1) << "none up to 8";
}

} // namespace
