#include "ChartTestSupport.h"

#include <atomic>
#include <thread>

using namespace kovan;
using namespace charttest;

// The widget (or any thread) reads published bitmaps while frames are published: every copy it
// takes is one whole frame, never half of one and half of the next.
TEST(ChartViewLayers, PublishedBitmapsAreReadWholeFromAnotherThread) {
    ChartView view(QSize(64, 48));
    auto bottom = view.addLayer(QRect(0, 0, 64, 48), QSize(64, 48));
    std::atomic<bool> done{false};
    std::atomic<int> torn{0}, reads{0};
    std::thread reader([&] {
        while (!done.load()) {
            const QImage img = view.composite();
            const QRgb first = img.pixel(0, 0);
            bool same = true;
            for (int y = 0; y < img.height() && same; ++y)
                for (int x = 0; x < img.width() && same; ++x)
                    same = img.pixel(x, y) == first;
            torn += !same;
            ++reads;
        }
    });
    QImage frame(64, 48, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < 3000 || reads.load() < 20; ++i) {
        frame.fill(QColor::fromRgb(0xFF000000u | quint32(i * 2654435761u >> 8)));
        bottom->publish(frame);
        view.notifyPublished();
    }
    done = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_GE(view.publishCount(), 3000u);
}

TEST(ChartViewLayers, PublishCallbackAndLayerOrder) {
    ChartView view(QSize(10, 10));
    int calls = 0;
    view.setOnPublished([&](const QRegion&) { ++calls; });
    auto a = view.addLayer(QRect(0, 0, 10, 10), QSize(10, 10));
    auto b = view.addLayer(QRect(5, 5, 5, 5), QSize(5, 5));
    QImage red(10, 10, QImage::Format_ARGB32_Premultiplied);
    red.fill(Qt::red);
    QImage blue(5, 5, QImage::Format_ARGB32_Premultiplied);
    blue.fill(Qt::blue);
    a->publish(red);
    b->publish(blue);
    view.notifyPublished();
    EXPECT_EQ(calls, 1);
    const QImage img = view.composite();
    EXPECT_EQ(img.pixel(2, 2), 0xFFFF0000u);
    EXPECT_EQ(img.pixel(7, 7), 0xFF0000FFu); // the upper layer covers the lower
    view.removeLayer(b);
    EXPECT_EQ(view.composite().pixel(7, 7), 0xFFFF0000u);
    view.clearLayers();
    EXPECT_EQ(view.composite().pixel(7, 7), 0xFF000000u);
}

// A frame of the bitmap's size is taken without a copy, yet what the publisher draws next
// (into the same image) never shows until it publishes again.
TEST(ChartViewLayers, APublishedFrameStaysAsItWasWhileThePublisherDrawsOn) {
    ChartView view(QSize(8, 8));
    auto bottom = view.addLayer(QRect(0, 0, 8, 8), QSize(8, 8));
    QImage frame(8, 8, QImage::Format_ARGB32_Premultiplied);
    frame.fill(0xFF0000FFu);
    bottom->publish(frame);
    bottom->withBitmap([&](const QImage& bmp) { EXPECT_EQ(bmp.constBits(), frame.constBits()); });
    reinterpret_cast<quint32*>(frame.bits())[0] = 0xFFFF0000u; // detaches the publisher's copy
    frame.fill(0xFF00FF00u);
    EXPECT_EQ(view.composite().pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(view.composite().pixel(7, 7), 0xFF0000FFu);
    bottom->publish(frame);
    EXPECT_EQ(view.composite().pixel(7, 7), 0xFF00FF00u);
    // Another size: the part that fits is copied into the bitmap, the rest stays.
    QImage small(4, 4, QImage::Format_ARGB32_Premultiplied);
    small.fill(0xFFFFFFFFu);
    bottom->publish(small);
    EXPECT_EQ(view.composite().pixel(3, 3), 0xFFFFFFFFu);
    EXPECT_EQ(view.composite().pixel(5, 5), 0xFF00FF00u);
    EXPECT_EQ(frame.pixel(3, 3), 0xFF00FF00u); // the bitmap's own pixels, not the frame's
}

TEST(ChartViewLayers, ALayerHoldsNoPixelsUntilItsFirstFrameWhichItShares) {
    ChartView view(QSize(8, 6));
    auto layer = view.addLayer(QRect(0, 0, 8, 6), QSize(8, 6));
    EXPECT_TRUE(layer->withBitmap([](const QImage& b) { return b.isNull(); }));
    const QImage before = layer->snapshot(); // reads as the clear bitmap it stands for
    ASSERT_EQ(before.size(), QSize(8, 6));
    EXPECT_EQ(before.pixel(3, 3), 0u);
    EXPECT_EQ(view.composite().pixel(3, 3), 0xFF000000u);

    QImage frame(8, 6, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::red);
    layer->publish(frame);
    EXPECT_TRUE(
        layer->withBitmap([&](const QImage& b) { return b.constBits() == frame.constBits(); }));
    // A first frame of another size goes onto a clear bitmap of the layer's own size.
    auto other = view.addLayer(QRect(0, 0, 8, 6), QSize(8, 6));
    QImage small(4, 3, QImage::Format_ARGB32_Premultiplied);
    small.fill(Qt::blue);
    other->publish(small);
    const QImage shown = other->snapshot();
    ASSERT_EQ(shown.size(), QSize(8, 6));
    EXPECT_EQ(shown.pixel(1, 1), 0xFF0000FFu);
    EXPECT_EQ(shown.pixel(6, 5), 0u);
}
