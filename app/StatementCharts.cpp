#include "StatementCharts.h"

#include "Fonts.h"
#include "PlainText.h"
#include "Session.h"

#include <QBarSet>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QHorizontalStackedBarSeries>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>

#include <cmath>

namespace ChartMath {

double widenedLabelStep(double minStep, double range, double pixelLength, double labelExtent)
{
    if (range <= 0)
        return minStep;
    // A chart not laid out yet has no room: one step over the whole range, so that Qt Charts does
    // not make hundreds of labels that the first layout throws away.
    if (pixelLength <= 0)
        return range;
    const double factors[3] = {1, 2, 5};
    for (double decade = minStep; decade < range * 1000; decade *= 10) {
        for (double f : factors) {
            const double step = decade * f;
            if (step * pixelLength / range >= labelExtent)
                return step;
        }
    }
    return range;
}

} // namespace ChartMath

namespace {

constexpr double DetailPointsPerPage = 5;
constexpr int OverviewPoints = 60;
// The detail chart's statement axis spans this part of the plotting height, measured from the top.
constexpr double StatementAxisTop = 0.09;
constexpr double StatementAxisBottom = 0.92;
constexpr double BarShift = 0.10; // bars sit 10 % of their thickness before their position

void styleChart(QChart *chart)
{
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale());
    chart->setMargins(QMargins(2, 0, 6, 0));
}

QLineSeries *lineSeries(const QString &name, const QColor &color, Qt::PenStyle style)
{
    auto *series = new QLineSeries;
    series->setName(name);
    series->setObjectName(name);
    QPen pen(color);
    pen.setWidth(1);
    pen.setStyle(style);
    series->setPen(pen);
    series->setPointsVisible(false);
    return series;
}

QValueAxis *makeValueAxis(double min, double max, const QString &format, bool grid)
{
    auto *axis = new QValueAxis;
    axis->setRange(min, max);
    axis->setLabelFormat(format);
    axis->setGridLineVisible(grid);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setMinorTickCount(0);
    QFont font = axis->labelsFont();
    font.setPixelSize(10);
    axis->setLabelsFont(font);
    return axis;
}

// One bar set per trait, so that every bar is drawn in its statement's trait colour. Position 0 is
// left empty: bar series place their values at whole positions from 0, statements start at 1.
QList<QBarSet *> traitBarSets(QAbstractBarSeries *series, const QColor &outline)
{
    QList<QBarSet *> sets;
    for (int t = 1; t <= Resource::TraitCount; ++t) {
        auto *set = new QBarSet(Resource::TraitName(t));
        set->setColor(Resource::TraitColor(t));
        set->setPen(QPen(outline)); // the outline Qt Charts draws is the set's pen
        sets << set;
        series->append(set);
    }
    return sets;
}

void fillTraitBarSets(const QList<QBarSet *> &sets, const ProfileScores &scores)
{
    for (int t = 0; t < sets.size(); ++t) {
        QList<qreal> values(Resource::StatementCount + 1, 0.0);
        for (int s = 1; s <= Resource::StatementCount; ++s)
            if (Resource::traitOfStatement(s) == t + 1)
                values[s] = scores.statement(s);
        sets[t]->remove(0, sets[t]->count());
        sets[t]->append(values);
    }
}

double setsValue(const QList<QBarSet *> &sets, int s)
{
    const int t = Resource::traitOfStatement(s) - 1;
    return s < sets[t]->count() ? sets[t]->at(s) : 0.0;
}

void fillConstantLine(QLineSeries *series, double value, int from, int to, bool vertical)
{
    QList<QPointF> points;
    for (int k = from; k <= to; ++k)
        points << (vertical ? QPointF(value, k) : QPointF(k, value));
    series->replace(points);
}

} // namespace

// ---------------------------------------------------------------------------------------------

ChartMarks::ChartMarks(QChart *chart, QAbstractSeries *series, Style style)
    : QGraphicsItem(chart)
    , m_chart(chart)
    , m_series(series)
    , m_style(style)
{
    setZValue(20);
    if (style == Style::IndexNumber) {
        m_font = Fonts::pixelFont(Fonts::chartFamily(), 11);
        m_font.setBold(true);
    } else {
        m_font = Fonts::pixelFont(Fonts::chartFamily(), 10);
    }
}

void ChartMarks::setMarks(QList<Mark> marks)
{
    prepareGeometryChange();
    m_marks = std::move(marks);
    update();
}

void ChartMarks::relayout()
{
    prepareGeometryChange();
    update();
}

QRectF ChartMarks::boundingRect() const
{
    return m_chart->plotArea();
}

QRectF ChartMarks::boxFor(const Mark &mark, QPointF *anchor) const
{
    const QPointF point = m_chart->mapToPosition(mark.value, m_series);
    if (anchor)
        *anchor = point;
    const QFontMetricsF metrics(m_font);
    const QSizeF text(metrics.horizontalAdvance(mark.text), metrics.height());
    if (m_style == Style::ValueBox) // 5 pixels beyond the bar's end, centred on the bar
        return QRectF(point.x() + 5, point.y() - text.height() / 2 - 1, text.width() + 4, text.height() + 2);
    // 4 pixels above the point, centred over it
    return QRectF(point.x() - text.width() / 2 - 2, point.y() - 4 - text.height() - 2, text.width() + 4,
                  text.height() + 2);
}

QRectF ChartMarks::boxRect(int k) const
{
    const QRectF box = boxFor(m_marks.at(k), nullptr);
    return box.intersected(m_chart->plotArea());
}

void ChartMarks::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->save();
    painter->setClipRect(m_chart->plotArea());
    painter->setFont(m_font);
    for (const Mark &mark : std::as_const(m_marks)) {
        QPointF anchor;
        const QRectF box = boxFor(mark, &anchor);
        if (!box.intersects(m_chart->plotArea()))
            continue;
        if (m_style == Style::ValueBox) {
            painter->setPen(Qt::black);
            painter->drawLine(anchor, QPointF(box.left(), anchor.y()));
            painter->setBrush(QColor(255, 255, 128));
            painter->drawRect(box);
        } else {
            painter->setPen(Qt::white);
            painter->setBrush(Qt::white);
            painter->drawRect(box);
        }
        painter->setPen(Qt::black);
        painter->drawText(box, Qt::AlignCenter, mark.text);
    }
    painter->restore();
}

// ---------------------------------------------------------------------------------------------

StatementChart::StatementChart(QWidget *parent, Lines lines, int lineFrom, int lineTo)
    : QChartView(new QChart, parent)
    , m_lines(lines)
    , m_lineFrom(lineFrom)
    , m_lineTo(lineTo)
{
    setRenderHint(QPainter::Antialiasing, false);
    setRubberBand(QChartView::NoRubberBand);
    setFrameShape(QFrame::NoFrame);
    setBackgroundBrush(Qt::white);
    styleChart(chart());
    // The chart is white to the panel's edge: no layout margin around its background.
    chart()->layout()->setContentsMargins(0, 0, 0, 0);
    m_foot = new QGraphicsSimpleTextItem(chart());
    m_foot->setZValue(30);
    QFont font = m_foot->font();
    font.setPixelSize(11);
    m_foot->setFont(font);
    QFont titleFont = chart()->titleFont();
    titleFont.setPixelSize(12);
    titleFont.setBold(true);
    chart()->setTitleFont(titleFont);
    // Room under the plotting area for the foot line.
    QMargins margins = chart()->margins();
    margins.setBottom(16);
    chart()->setMargins(margins);
    connect(chart(), &QChart::plotAreaChanged, this, [this] {
        placeFoot();
        relayout();
    });
}

void StatementChart::makeBarSets(QAbstractBarSeries *series, const QColor &outline)
{
    m_sets = traitBarSets(series, outline);
    connect(series, &QAbstractBarSeries::hovered, this, [this](bool status, int s, QBarSet *) {
        if (!status || s < 1 || s > Resource::StatementCount) {
            QToolTip::hideText();
            return;
        }
        QToolTip::showText(QCursor::pos(), plainToolTip(barToolTip(s)), this);
    });
}

QString StatementChart::barToolTip(int s) const
{
    const double score = barValue(s);
    QString text = Resource::StatementText(s) + u'\n' + QStringLiteral("Оценка: ") + Scoring::scoreText(score);
    if (m_referenceScores) {
        const double reference = m_referenceScores->statement(s);
        const double difference = score - reference;
        text += QStringLiteral("; эталон: ") + Scoring::scoreText(reference) + QStringLiteral("; разница: ")
                + Scoring::differenceText(difference, 2);
    }
    return text;
}

void StatementChart::setReference(const ProfileScores *reference)
{
    m_referenceScores = reference ? std::optional(*reference) : std::nullopt;
    if (!reference && !m_reference)
        return;
    if (!m_reference) {
        // Made on first use only: a chart that never compares stays exactly as it was.
        m_reference = new QScatterSeries;
        m_reference->setName(QStringLiteral("SeriesReference"));
        m_reference->setObjectName(QStringLiteral("SeriesReference"));
        m_reference->setMarkerShape(QScatterSeries::MarkerShapeRotatedRectangle);
        m_reference->setMarkerSize(9);
        m_reference->setColor(QColor(0, 0, 160));
        m_reference->setBorderColor(Qt::white);
        chart()->addSeries(m_reference);
        const auto [value, position] = barAxes();
        m_reference->attachAxis(value);
        m_reference->attachAxis(position);
    }
    QList<QPointF> points;
    if (reference)
        for (int s = 1; s <= Resource::StatementCount; ++s)
            points << barPoint(s, reference->statement(s));
    m_reference->replace(points);
    m_reference->setVisible(reference != nullptr);
}

void StatementChart::fillLines(double overallMean, double band)
{
    m_mean->clear();
    fillConstantLine(m_mean, overallMean, m_lineFrom, m_lineTo, m_lines == Lines::Vertical);
    fillBand(overallMean, band);
}

void StatementChart::fillBand(double overallMean, double band)
{
    m_upper->clear();
    m_lower->clear();
    const bool vertical = m_lines == Lines::Vertical;
    fillConstantLine(m_lower, overallMean - band, m_lineFrom, m_lineTo, vertical);
    fillConstantLine(m_upper, overallMean + band, m_lineFrom, m_lineTo, vertical);
}

void StatementChart::follow(const Session &session)
{
    const auto foot = [this, &session] {
        const RespondentHeader &shown = session.header();
        setFoot(shown.code, shown.name, shown.date);
    };
    const auto reference = [this, &session] {
        const Profile *shown = session.reference();
        setReference(shown ? &shown->scores : nullptr);
    };
    connect(&session, &Session::profileChanged, this, [this, &session, foot, reference] {
        foot();
        showProfile(session.profile(), session.band());
        if (session.reference())
            reference();
    });
    connect(&session, &Session::bandChanged, this, [this, &session](double band) { setBand(session.profile().overallMean, band); });
    connect(&session, &Session::headerChanged, this, foot);
    connect(&session, &Session::referenceChanged, this, reference);
}

void StatementChart::setBand(double overallMean, double band)
{
    fillBand(overallMean, band);
}

void StatementChart::fillBars(const ProfileScores &scores)
{
    fillTraitBarSets(m_sets, scores);
}

void StatementChart::setFoot(const QString &code, const QString &name, const QString &date)
{
    m_footCode = code;
    m_footName = name;
    m_footDate = date;
    m_footLine = code + u' ' + name + u' ' + date;
    placeFoot();
}

QString StatementChart::foot() const { return m_footLine; }
QString StatementChart::title() const { return chart()->title(); }
void StatementChart::setTitle(const QString &title) { chart()->setTitle(title); }

QAbstractSeries *StatementChart::series(QStringView name) const
{
    for (QAbstractSeries *s : chart()->series())
        if (s->objectName() == name)
            return s;
    return nullptr;
}

double StatementChart::barValue(int s) const { return setsValue(m_sets, s); }
QColor StatementChart::barColor(int s) const { return m_sets[Resource::traitOfStatement(s) - 1]->color(); }

void StatementChart::resizeEvent(QResizeEvent *event)
{
    QChartView::resizeEvent(event);
    placeFoot();
    relayout();
}

void StatementChart::placeFoot()
{
    // A long name is cut in its middle, so that the code and the date stay whole: the date is what a
    // reader of a saved chart looks for.
    const QSizeF size = chart()->size();
    const QFontMetrics metrics(m_foot->font());
    const int room = int(size.width()) - 8;
    QString shown = m_footLine;
    if (metrics.horizontalAdvance(shown) > room) {
        // The parts are kept apart, as a code or a date may hold spaces of its own.
        const QString code = m_footCode + u' ';
        const QString date = u' ' + m_footDate;
        const int nameRoom = room - metrics.horizontalAdvance(code + date);
        shown = code + metrics.elidedText(m_footName, Qt::ElideMiddle, std::max(nameRoom, 0)) + date;
        // Where even the code and the date do not fit (large fonts), the date is kept and the code cut.
        if (metrics.horizontalAdvance(shown) > room) {
            const int codeRoom = room - metrics.horizontalAdvance(date);
            shown = codeRoom > metrics.horizontalAdvance(QStringLiteral("…"))
                        ? metrics.elidedText(m_footCode, Qt::ElideRight, codeRoom) + date
                        : metrics.elidedText(m_footDate, Qt::ElideRight, room);
        }
    }
    m_foot->setText(shown);
    m_foot->setToolTip(shown == m_footLine ? QString() : plainToolTip(m_footLine));
    const QRectF bounds = m_foot->boundingRect();
    m_foot->setPos((size.width() - bounds.width()) / 2, size.height() - bounds.height() - 2);
}

// ---------------------------------------------------------------------------------------------

DetailChart::DetailChart(QWidget *parent)
    : StatementChart(parent, Lines::Vertical, 0, Resource::StatementCount)
{
    setObjectName(QStringLiteral("chChart"));
    QChart *c = chart();
    c->setTitle(initialTitle());

    m_valueAxis = makeValueAxis(0, 5.5, QStringLiteral("%.2f"), true);
    m_statementAxis = makeValueAxis(1, 5, QStringLiteral("%.0f"), true);
    m_barAxis = makeValueAxis(1, 5, QStringLiteral("%.0f"), false);
    m_barAxis->setVisible(false);
    c->addAxis(m_valueAxis, Qt::AlignBottom);
    c->addAxis(m_statementAxis, Qt::AlignLeft);
    c->addAxis(m_barAxis, Qt::AlignRight);

    m_mean = lineSeries(QStringLiteral("SeriesMean"), Qt::blue, Qt::SolidLine);
    m_lower = lineSeries(QStringLiteral("SeriesMin"), Qt::red, Qt::DashLine);
    m_upper = lineSeries(QStringLiteral("SeriesMax"), Qt::red, Qt::DashLine);
    auto *bars = new QHorizontalStackedBarSeries;
    bars->setName(QStringLiteral("SeriesChart"));
    bars->setObjectName(QStringLiteral("SeriesChart"));
    m_bars = bars;
    makeBarSets(bars, Qt::black);

    for (QLineSeries *line : {m_mean, m_lower, m_upper}) {
        c->addSeries(line);
        line->attachAxis(m_valueAxis);
        line->attachAxis(m_statementAxis);
    }
    c->addSeries(bars);
    bars->attachAxis(m_valueAxis);
    bars->attachAxis(m_barAxis);

    m_marks = new ChartMarks(c, bars, ChartMarks::Style::ValueBox);
    connect(m_statementAxis, &QValueAxis::rangeChanged, this, [this] { m_marks->relayout(); });
    applyWindow();
}

void DetailChart::showProfile(const Profile &profile, double band)
{
    fillLines(profile.overallMean, band);
    fillBars(profile.scores);
    QList<ChartMarks::Mark> marks;
    for (int s = 1; s <= Resource::StatementCount; ++s)
        marks << ChartMarks::Mark{QPointF(profile.scores.statement(s), s), Scoring::scoreText(profile.scores.statement(s))};
    m_marks->setMarks(marks);
    showIndex(1);
}

void DetailChart::showIndex(int index)
{
    setStatementMinimum(1);
    setStatementMaximum(Resource::StatementsPerIndex * index);
    setStatementMinimum(Resource::StatementsPerIndex * index - 4);
    setTitle(Resource::chartCaption(index));
}

void DetailChart::setStatementMinimum(double minimum)
{
    if (minimum > m_windowMax) // the axis refuses a minimum above its maximum
        return;
    m_windowMin = minimum;
    applyWindow();
}

void DetailChart::setStatementMaximum(double maximum)
{
    if (maximum < m_windowMin)
        return;
    m_windowMax = maximum;
    applyWindow();
}

void DetailChart::applyWindow()
{
    // The window [min, max] takes 9 % to 92 % of the plotting height; the axis, which Qt Charts maps
    // onto the whole height, is widened by the remaining parts above and below.
    const double span = std::max(m_windowMax - m_windowMin, 1.0);
    const double whole = span / (StatementAxisBottom - StatementAxisTop);
    const double low = m_windowMin - (1.0 - StatementAxisBottom) * whole;
    const double high = m_windowMax + StatementAxisTop * whole;
    const double thickness = ChartMath::barThickness(span, int(DetailPointsPerPage));
    const double shift = BarShift * thickness;
    m_bars->setBarWidth(thickness);
    m_statementAxis->setRange(low, high);
    m_barAxis->setRange(low + shift, high + shift);
    // The label step follows the window shown: a wider window on the way (1 to 60, say) may have
    // widened it, and the plotting area, which would set it again, does not change for the last step.
    relayout();
}

void DetailChart::relayout()
{
    const QRectF area = chart()->plotArea();
    const QFontMetricsF metrics(m_valueAxis->labelsFont());
    const double labelWidth = metrics.horizontalAdvance(QLocale().toString(5.55, 'f', 2)) + 20;
    m_valueAxis->setTickInterval(ChartMath::widenedLabelStep(0.01, 5.5, area.width(), labelWidth));
    const double high = m_statementAxis->max() - m_statementAxis->min();
    m_statementAxis->setTickInterval(ChartMath::widenedLabelStep(1, high, area.height(), metrics.height() + 2));
    m_marks->relayout();
}

// ---------------------------------------------------------------------------------------------

OverviewChart::OverviewChart(QWidget *parent)
    : StatementChart(parent, Lines::Horizontal, 0, 61)
{
    setObjectName(QStringLiteral("ChartAll"));
    QChart *c = chart();
    c->setTitle(initialTitle());

    m_statementAxis = makeValueAxis(0, 61, QStringLiteral("%.0f"), true);
    m_valueAxis = makeValueAxis(0, 5.5, QStringLiteral("%.2f"), false);
    m_valueAxis->setTickInterval(1);
    const double shift = BarShift * ChartMath::barThickness(61, OverviewPoints);
    m_barAxis = makeValueAxis(shift, 61 + shift, QStringLiteral("%.0f"), false);
    m_barAxis->setVisible(false);
    c->addAxis(m_statementAxis, Qt::AlignBottom);
    c->addAxis(m_valueAxis, Qt::AlignLeft);
    c->addAxis(m_barAxis, Qt::AlignTop);

    m_scales = new QScatterSeries;
    m_scales->setName(QStringLiteral("SeriesScales"));
    m_scales->setObjectName(QStringLiteral("SeriesScales"));
    m_scales->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    m_scales->setMarkerSize(7); // three pixels either side of the point
    m_scales->setPen(Qt::NoPen);
    m_mean = lineSeries(QStringLiteral("SeriesAllMean"), Qt::black, Qt::SolidLine);
    m_upper = lineSeries(QStringLiteral("SeriesAllMax"), Qt::black, Qt::DotLine);
    m_lower = lineSeries(QStringLiteral("SeriesAllMin"), Qt::black, Qt::DotLine);
    auto *bars = new QStackedBarSeries;
    bars->setName(QStringLiteral("SeriesAll"));
    bars->setObjectName(QStringLiteral("SeriesAll"));
    bars->setBarWidth(ChartMath::barThickness(61, OverviewPoints));
    makeBarSets(bars, QColor(128, 128, 128));

    for (QXYSeries *series : std::initializer_list<QXYSeries *>{m_scales, m_mean, m_upper, m_lower}) {
        c->addSeries(series);
        series->attachAxis(m_statementAxis);
        series->attachAxis(m_valueAxis);
    }
    c->addSeries(bars);
    bars->attachAxis(m_barAxis);
    bars->attachAxis(m_valueAxis);

    m_marks = new ChartMarks(c, m_scales, ChartMarks::Style::IndexNumber);

    connect(m_scales, &QScatterSeries::clicked, this, [this](const QPointF &point) {
        const int k = int(std::lround(point.x() / Resource::StatementsPerIndex)) - 1;
        emit seriesClicked(m_scales, k);
    });
    connect(bars, &QAbstractBarSeries::clicked, this, [this, bars](int index, QBarSet *) { emit seriesClicked(bars, index); });
    for (QLineSeries *line : {m_mean, m_upper, m_lower})
        connect(line, &QLineSeries::clicked, this,
                [this, line](const QPointF &point) { emit seriesClicked(line, int(std::lround(point.x()))); });
}

void OverviewChart::follow(const Session &session)
{
    StatementChart::follow(session);
    connect(&session, &Session::chartInFrontChanged, this, [this](Session::Chart chart) {
        Tag = int(chart);
        if (chart == Session::Chart::Overview)
            raise();
        else
            lower();
    });
}

void OverviewChart::showProfile(const Profile &profile, double band)
{
    fillLines(profile.overallMean, band);
    fillBars(profile.scores);
    m_scales->clear();
    QList<ChartMarks::Mark> marks;
    for (int i = 1; i <= Resource::IndexCount; ++i) {
        const QPointF point(Resource::StatementsPerIndex * i, 5.1);
        m_scales->append(point);
        m_scales->setPointConfiguration(i - 1, QXYSeries::PointConfiguration::Color, Resource::indexColor(i));
        marks << ChartMarks::Mark{point, QString::number(i)};
    }
    m_marks->setMarks(marks);
}

void OverviewChart::relayout()
{
    const QRectF area = chart()->plotArea();
    const QFontMetricsF metrics(m_statementAxis->labelsFont());
    m_statementAxis->setTickInterval(
        ChartMath::widenedLabelStep(1, 61, area.width(), metrics.horizontalAdvance(QStringLiteral("60")) + 14));
    m_valueAxis->setTickInterval(ChartMath::widenedLabelStep(1, 5.5, area.height(), metrics.height() + 2));
    m_marks->relayout();
}

QColor OverviewChart::markerColor(int k) const
{
    const auto config = m_scales->pointConfiguration(k);
    return config.value(QXYSeries::PointConfiguration::Color).value<QColor>();
}
