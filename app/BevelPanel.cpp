#include "BevelPanel.h"

#include <QPainter>

namespace {

// A 1-pixel bevel on the edge of rect: the top and left lines in topLeft, the bottom and right lines
// (with the two corners they share with the others) in bottomRight.
void drawBevel(QPainter &painter, const QRect &rect, const QColor &topLeft, const QColor &bottomRight)
{
    painter.setPen(topLeft);
    painter.drawLine(rect.left(), rect.top(), rect.right() - 1, rect.top());
    painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom() - 1);
    painter.setPen(bottomRight);
    painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
}

} // namespace

BevelPanel::BevelPanel(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
}

void BevelPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor light = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    drawBevel(painter, rect(), light, shadow);                        // raised outer bevel
    drawBevel(painter, rect().adjusted(1, 1, -1, -1), shadow, light); // lowered inner bevel
}
