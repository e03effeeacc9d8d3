#include "AnswerBars.h"

#include "PlainText.h"
#include "Questionnaire.h"
#include "Resource.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 8;

// Strong disagreement to strong agreement.
const std::array<QColor, 5> AnswerColors = {QColor(178, 24, 43), QColor(239, 138, 98), QColor(200, 200, 200),
                                            QColor(103, 169, 207), QColor(33, 102, 172)};

QColor textColorOn(const QColor &fill)
{
    return fill.lightnessF() < 0.5 ? Qt::white : Qt::black;
}

QString barLabel(int statement)
{
    return QStringLiteral("Утв. %1").arg(statement) + (Questionnaire::isReversed(statement) ? QStringLiteral(" (*)") : QString());
}

} // namespace

AnswerBars::AnswerBars(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("answerBars"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void AnswerBars::setBars(const QString &title, const QList<Bar> &bars)
{
    m_title = title;
    m_bars = bars;
    update();
}

std::array<double, 5> AnswerBars::shares(const std::array<qsizetype, 5> &counts)
{
    qsizetype answered = 0;
    for (qsizetype count : counts)
        answered += count;
    std::array<double, 5> result{};
    if (answered == 0)
        return result;
    for (std::size_t a = 0; a < 5; ++a)
        result[a] = double(counts[a]) / double(answered);
    return result;
}

QString AnswerBars::shareText(double share)
{
    return QStringLiteral("%1%").arg(std::lround(share * 100.0));
}

QSize AnswerBars::sizeHint() const
{
    return {520, 320};
}

QSize AnswerBars::minimumSizeHint() const
{
    return {320, 200};
}

AnswerBars::Layout AnswerBars::layout() const
{
    const QFontMetricsF metrics(font());
    Layout l;
    const qreal top = Margin + metrics.height() + 6;            // the title
    const qreal bottom = Margin + 2 * metrics.height() + 16;    // the axis labels and the legend
    // Room for the widest label: a two-digit statement with the mark of a negatively worded one.
    const qreal left = Margin + metrics.horizontalAdvance(barLabel(60) + QStringLiteral(" (*)")) + 10;
    const qreal right = Margin + metrics.horizontalAdvance(QStringLiteral("100%")) / 2 + 4;
    l.plot = QRectF(left, top, std::max<qreal>(40, width() - left - right), std::max<qreal>(20, height() - top - bottom));
    l.centre = l.plot.center().x();
    // The axis reaches the largest side of any bar, rounded up to a tenth.
    qreal widest = 0;
    for (const Bar &bar : m_bars) {
        const std::array<double, 5> s = shares(bar.counts);
        widest = std::max({widest, s[0] + s[1] + s[2] / 2, s[4] + s[3] + s[2] / 2});
    }
    l.axisMax = std::clamp(std::ceil(widest * 10.0 - 1e-9) / 10.0, 0.1, 1.0);
    l.unit = l.plot.width() / 2 / l.axisMax;
    l.rowHeight = m_bars.isEmpty() ? 0 : l.plot.height() / m_bars.size();
    return l;
}

QRectF AnswerBars::barBand(const Layout &l, int b) const
{
    const qreal thickness = std::min<qreal>(l.rowHeight * 0.62, 44);
    const qreal middle = l.plot.top() + l.rowHeight * (b + 0.5);
    return QRectF(l.plot.left(), middle - thickness / 2, l.plot.width(), thickness);
}

qreal AnswerBars::centreX() const
{
    return layout().centre;
}

std::array<QRectF, 6> AnswerBars::partRects(int b) const
{
    const Layout l = layout();
    const QRectF band = barBand(l, b);
    const std::array<double, 5> s = shares(m_bars[b].counts);
    std::array<QRectF, 6> rects;
    // Outwards from the centre: half of 3, then 2, then 1 to the left; half of 3, 4, 5 to the right.
    qreal x = l.centre;
    const double leftParts[] = {s[2] / 2, s[1], s[0]};
    for (int k = 0; k < 3; ++k) {
        const qreal w = leftParts[k] * l.unit;
        if (w > 0)
            rects[std::size_t(k)] = QRectF(x - w, band.top(), w, band.height());
        x -= w;
    }
    x = l.centre;
    const double rightParts[] = {s[2] / 2, s[3], s[4]};
    for (int k = 0; k < 3; ++k) {
        const qreal w = rightParts[k] * l.unit;
        if (w > 0)
            rects[std::size_t(3 + k)] = QRectF(x, band.top(), w, band.height());
        x += w;
    }
    return rects;
}

void AnswerBars::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetricsF metrics(font());
    const Layout l = layout();

    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(Margin, Margin, width() - 2 * Margin, metrics.height() + 4), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(m_title, Qt::ElideRight, width() - 2 * Margin));
    painter.setFont(font());
    if (m_bars.isEmpty())
        return;

    // The grid of the axis, every tenth (every fifth part of the axis when it is long).
    const qreal step = l.axisMax > 0.5 ? 0.2 : 0.1;
    const qreal axisY = l.plot.bottom() + 2;
    for (int k = -int(std::lround(l.axisMax / step)); k <= int(std::lround(l.axisMax / step)); ++k) {
        const qreal x = l.centre + k * step * l.unit;
        painter.setPen(QPen(QColor(225, 225, 225), 1));
        painter.drawLine(QPointF(x, l.plot.top()), QPointF(x, l.plot.bottom()));
        painter.setPen(palette().color(QPalette::Text));
        const QString text = shareText(std::abs(k * step));
        const qreal w = metrics.horizontalAdvance(text);
        painter.drawText(QRectF(x - w / 2 - 2, axisY, w + 4, metrics.height()), Qt::AlignCenter, text);
    }

    // The parts first, then the centre line across them, then the shares on top of both.
    for (int b = 0; b < m_bars.size(); ++b) {
        const Bar &bar = m_bars[b];
        const QRectF band = barBand(l, b);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRectF(Margin, band.top(), l.plot.left() - Margin - 8, band.height()), Qt::AlignRight | Qt::AlignVCenter,
                         barLabel(bar.statement));
        const std::array<QRectF, 6> parts = partRects(b);
        const int answerOfPart[] = {3, 2, 1, 3, 4, 5};
        for (int p = 0; p < 6; ++p)
            if (!parts[std::size_t(p)].isEmpty())
                painter.fillRect(parts[std::size_t(p)], AnswerColors[std::size_t(answerOfPart[p] - 1)]);
    }
    painter.setPen(QPen(palette().color(QPalette::Text), 1.5));
    painter.drawLine(QPointF(l.centre, l.plot.top()), QPointF(l.centre, l.plot.bottom()));
    for (int b = 0; b < m_bars.size(); ++b) {
        const QRectF band = barBand(l, b);
        const std::array<double, 5> s = shares(m_bars[b].counts);
        if (s == std::array<double, 5>{}) {
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(band, Qt::AlignCenter, QStringLiteral("нет ответов"));
            continue;
        }
        const std::array<QRectF, 6> parts = partRects(b);
        // Each share where it fits: answers 1, 2, 4 and 5 in their parts, 3 across the centre line.
        const auto label = [&](const QRectF &area, int answer) {
            const QString text = shareText(s[std::size_t(answer - 1)]);
            if (area.width() < metrics.horizontalAdvance(text) + 4 || area.height() < metrics.height())
                return;
            painter.setPen(textColorOn(AnswerColors[std::size_t(answer - 1)]));
            painter.drawText(area, Qt::AlignCenter, text);
        };
        label(parts[2], 1);
        label(parts[1], 2);
        label(parts[0].united(parts[3]), 3);
        label(parts[4], 4);
        label(parts[5], 5);
    }

    // The legend: the five answers, disagreement to agreement.
    const qreal legendY = axisY + metrics.height() + 8;
    const qreal box = metrics.height() * 0.8;
    const QString words[] = {QStringLiteral("1 не согласен"), QStringLiteral("2"), QStringLiteral("3 нейтрально"),
                             QStringLiteral("4"), QStringLiteral("5 согласен")};
    qreal total = 0;
    for (const QString &word : words)
        total += box + 4 + metrics.horizontalAdvance(word) + 14;
    qreal x = std::max<qreal>(Margin, l.centre - total / 2);
    for (int a = 0; a < 5; ++a) {
        painter.fillRect(QRectF(x, legendY + (metrics.height() - box) / 2, box, box), AnswerColors[std::size_t(a)]);
        x += box + 4;
        painter.setPen(palette().color(QPalette::Text));
        const qreal w = metrics.horizontalAdvance(words[a]);
        painter.drawText(QRectF(x, legendY, w + 2, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter, words[a]);
        x += w + 14;
    }
}

int AnswerBars::barAt(const QPoint &point) const
{
    const Layout l = layout();
    if (l.rowHeight <= 0 || point.y() < l.plot.top() || point.y() >= l.plot.bottom())
        return -1;
    const int b = int((point.y() - l.plot.top()) / l.rowHeight);
    return b >= 0 && b < m_bars.size() ? b : -1;
}

bool AnswerBars::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int b = barAt(help->pos());
        if (b < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const Bar &bar = m_bars[b];
        const std::array<double, 5> s = shares(bar.counts);
        QString text = Resource::StatementText(bar.statement);
        for (int a = 0; a < 5; ++a)
            text += QStringLiteral("\nОтвет %1: %2 (%3)").arg(a + 1).arg(bar.counts[std::size_t(a)]).arg(shareText(s[std::size_t(a)]));
        QToolTip::showText(help->globalPos(), plainToolTip(text), this);
        return true;
    }
    return QWidget::event(event);
}
