#pragma once

#include <QImage>
#include <QPoint>

#include <vector>

namespace kovan::raster {

// Pixel primitives on a 32-bit image, written straight into the pixels because the chart's
// rules differ from QPainter's: rectangles are half-open, one-pixel lines leave out their end
// point, polygons are filled without smoothing. All clip to the image, whatever the
// coordinates.
//
// Images. Every primitive draws on Format_ARGB32, Format_ARGB32_Premultiplied and
// Format_RGB32 only. A null image draws nothing. Any other format (including other 32-bit
// layouts such as RGBA8888) is a programming error: the primitive throws std::invalid_argument
// before touching a pixel, whatever its coordinates, instead of writing 32-bit pixels into
// memory laid out otherwise.
//
// Colours are 0xAARRGGBB, not premultiplied. They are stored as the format wants them:
// premultiplied on ARGB32_Premultiplied, opaque on RGB32 (whose alpha byte is always 0xFF).
// The chart only uses opaque colours and 0, which premultiplying leaves as they are.

// Pixels x1 ≤ x < x2, y1 ≤ y < y2.
void fill(QImage& img, int x1, int y1, int x2, int y2, quint32 c);

// A one-pixel line from (x1, y1) towards (x2, y2), Bresenham-stepped along the longer axis (x
// when both are as long): every column (row) from the start gets the pixel nearest the ideal
// line, a tie going to the pixel on the end point's side. The end point is not drawn (a line
// from a point to itself draws nothing). Exact for any int coordinates.
void line(QImage& img, int x1, int y1, int x2, int y2, quint32 c);

// The same line including its end point.
void lineWithEnd(QImage& img, int x1, int y1, int x2, int y2, quint32 c);

void setPixel(QImage& img, int x, int y, quint32 c);

// A filled polygon (even-odd rule, any number of vertices, self-crossing allowed). A pixel is
// filled when its centre lies inside, with left and top edges inside and right and bottom
// edges outside, decided in exact integer arithmetic; so polygons that share an edge never
// overlap nor leave a gap between them, and a polygon of zero area fills nothing. No
// smoothing.
void polygon(QImage& img, const QPoint* pts, int count, quint32 c);

// The chart's wide polyline: width ≤ 1 joins the points with one-pixel lines including their
// end points; wider lines fill, per segment, the segment widened sideways and the segment
// widened up and down (a = width / 2 pixels to the left/top, width - a to the right/bottom).
// Fewer than two points draw nothing.
void drawWideLine(QImage& img, const std::vector<QPoint>& points, int width, quint32 c);

} // namespace kovan::raster
