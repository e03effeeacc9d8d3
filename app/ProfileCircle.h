#pragma once
// The profile circle: the geometry of the twelve plot positions, the transparent overlay on which
// the profile polygon is drawn, and the clickable value labels around it.

#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QWidget>

#include <array>

namespace ProfileCircle {

// The index shown at each of the twelve positions, clockwise from straight up.
constexpr std::array<int, 12> PlotIndexOrder = {10, 11, 12, 6, 5, 4, 3, 2, 1, 7, 8, 9};

constexpr double AngleStep = 3.14159265358979323846 / 6.0;
constexpr double RadiusScale = 49.5;
constexpr double LabelRadius = 4.5 * RadiusScale; // 222.75
constexpr int CentreCorrection = -2;
// The largest radius placed, in pixels: far beyond any overlay, far inside the range of a pixel.
constexpr double MaxPlotRadius = 1e6;

struct Offset
{
    int dx;
    int dy;
};

// Left and top of index label l relative to its anchor.
constexpr std::array<Offset, 12> IndexLabelOffsets = {{{-15, 5}, {-15, 0}, {-15, 0}, {-15, 0}, {-15, -20},
                                                       {-15, -20}, {-15, -20}, {-10, -20}, {-5, 0}, {-5, 0},
                                                       {-10, 0}, {-15, 5}}};

struct TraitLabelPlace
{
    int trait;
    int gridRow;       // the row of sgResF whose column 3 holds the trait's score
    int anchorPosition;
    Offset offset;
};

// Labels 12 to 15.
constexpr std::array<TraitLabelPlace, 4> TraitLabelPlaces = {{{4, 10, 1, {40, -40}},
                                                              {2, 4, 4, {40, 25}},
                                                              {1, 1, 7, {-60, 25}},
                                                              {3, 7, 10, {-60, -40}}}};

// Rounds to the nearest whole pixel, halves to the even neighbour.
int roundToPixel(double value);

// The plot centre of an overlay of w x h pixels: (w/2 - 2, h/2).
QPoint plotCentre(int width, int height);

// The radius of a score. 0 lies on the centre; so does any score that gives no finite radius
// (-1, where the formula divides by zero, and non-finite scores).
double ScoreRadius(double score);

// The point of position j at radius r around centre, clockwise from straight up; a radius beyond
// MaxPlotRadius either way is placed at that distance on the same ray.
QPoint PlacePlotPoint(const QPoint &centre, int position, double radius);

// The grid cell that label tag selects: (column, row).
QPoint labelCell(int tag);

} // namespace ProfileCircle

// imPlot: the drawing overlay. Its bitmap is cleared to white, and white shows the picture below.
class ProfileOverlay : public QWidget
{
    Q_OBJECT
public:
    explicit ProfileOverlay(QWidget *parent);

    // The drawing surface, created on first use with the overlay's size; it persists.
    QImage &bitmap();
    const QImage &bitmapImage() const { return m_bitmap; }
    // Call after drawing so that the screen shows the new bitmap.
    void commit();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_bitmap;
    QImage m_shown; // the bitmap with white made transparent
};

// A value label of the circle: transparent, sized to its text, reports clicks.
class PlotLabel : public QLabel
{
    Q_OBJECT
public:
    PlotLabel(int tag, QWidget *parent);
    int tag() const { return m_tag; }
    // Sets the text and resizes the label to it, keeping its left edge.
    void setTextKeepingLeft(const QString &text);

signals:
    void clicked(PlotLabel *label);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_tag;
};
