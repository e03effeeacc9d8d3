#include "ProfileCircle.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ProfileCircle {

int roundToPixel(double value)
{
    return int(std::nearbyint(value)); // the default rounding mode sends halves to even
}

QPoint plotCentre(int width, int height)
{
    return QPoint(roundToPixel(width / 2.0 + CentreCorrection), roundToPixel(height / 2.0));
}

double ScoreRadius(double score)
{
    if (score == 0.0)
        return 0.0;
    const double radius = (score / 2.0 + 0.5) * RadiusScale + 2.0 / (score + 1.0);
    return std::isfinite(radius) ? radius : 0.0;
}

QPoint PlacePlotPoint(const QPoint &centre, int position, double radius)
{
    // A score far outside the scale (a damaged or hand-made file) lies far outside the overlay, which
    // clips it: its radius is bounded so that every coordinate fits a pixel, on the same ray.
    radius = std::isfinite(radius) ? std::clamp(radius, -MaxPlotRadius, MaxPlotRadius) : 0.0;
    const double phi = (position + 0.5) * AngleStep;
    return QPoint(roundToPixel(centre.x() + radius * std::sin(phi)), roundToPixel(centre.y() - radius * std::cos(phi)));
}

QPoint labelCell(int tag)
{
    if (tag >= 0 && tag < 12)
        return QPoint(1, PlotIndexOrder[std::size_t(tag)]);
    return QPoint(3, TraitLabelPlaces[std::size_t(tag - 12)].gridRow);
}

} // namespace ProfileCircle

ProfileOverlay::ProfileOverlay(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("imPlot"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

QImage &ProfileOverlay::bitmap()
{
    if (m_bitmap.isNull()) {
        m_bitmap = QImage(size(), QImage::Format_RGB32);
        m_bitmap.fill(Qt::white);
    }
    return m_bitmap;
}

void ProfileOverlay::commit()
{
    // The transparent colour is the bitmap's bottom-left pixel, which the clearing makes white.
    // The shown picture is made again in the same buffer: a new one at every refresh would churn
    // over a megabyte a load.
    const QRgb transparent = m_bitmap.pixel(0, m_bitmap.height() - 1);
    if (m_shown.size() != m_bitmap.size())
        m_shown = QImage(m_bitmap.size(), QImage::Format_ARGB32);
    for (int y = 0; y < m_shown.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(m_bitmap.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(m_shown.scanLine(y));
        for (int x = 0; x < m_shown.width(); ++x)
            to[x] = from[x] == transparent ? 0 : (from[x] | 0xFF000000u);
    }
    update();
}

void ProfileOverlay::paintEvent(QPaintEvent *)
{
    if (m_shown.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_shown);
}

PlotLabel::PlotLabel(int tag, QWidget *parent)
    : QLabel(parent)
    , m_tag(tag)
{
    setObjectName(QStringLiteral("PlotLabel%1").arg(tag));
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(10);
    setFont(font);
    move(0, 0);
}

void PlotLabel::setTextKeepingLeft(const QString &text)
{
    setText(text);
    resize(sizeHint());
}

void PlotLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
}
