#pragma once
// The two statement charts on Qt Charts: the detail chart of the five statements of one index and
// the overview of all sixty. Both show the profile's sixty statement scores as bars in their trait
// colours with lines at the overall mean and the two band limits; what they share lives in
// StatementChart. Qt Charts draws axes, bars, lines and markers; the value marks and the foot line,
// which it lacks, are small graphics items kept in place on top of the chart.

#include "Profile.h"

#include <QChartView>
#include <QGraphicsItem>

#include <optional>

class QBarSet;
class QAbstractBarSeries;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class QGraphicsSimpleTextItem;
class Session;

namespace ChartMath {

// The smallest multiple of minStep from the 1-2-5 sequence whose labels, each labelExtent pixels
// long, do not overlap along an axis of pixelLength pixels spanning range units; the whole range
// while the axis has no length yet.
double widenedLabelStep(double minStep, double range, double pixelLength, double labelExtent);

// Thickness of a bar in axis units: 70 % of the axis length divided by points + 1.
inline double barThickness(double axisLength, int points) { return 0.7 * axisLength / (points + 1); }

} // namespace ChartMath

// Text marks drawn at data points of a chart, clipped to its plotting area.
class ChartMarks : public QGraphicsItem
{
public:
    enum class Style { ValueBox, IndexNumber };
    struct Mark
    {
        QPointF value;   // the point in the series' coordinates
        QString text;
    };

    ChartMarks(QChart *chart, QAbstractSeries *series, Style style);

    void setMarks(QList<Mark> marks);
    const QList<Mark> &marks() const { return m_marks; }
    // The rectangle of mark k's box in chart coordinates (empty when outside the plotting area).
    QRectF boxRect(int k) const;
    void relayout();

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

private:
    QRectF boxFor(const Mark &mark, QPointF *anchor) const;

    QChart *m_chart;
    QAbstractSeries *m_series;
    Style m_style;
    QList<Mark> m_marks;
    QFont m_font;
};

// What both charts share: the title and the one-line foot, the bars of the sixty statements in their
// trait colours, the three lines at the mean and the band limits, and a tooltip on every bar.
class StatementChart : public QChartView
{
    Q_OBJECT
public:
    // Shows every profile the session loads, with its band, foot line and reference, and follows
    // their changes.
    void follow(const Session &session);
    // Fills every series from the profile's scores.
    virtual void showProfile(const Profile &profile, double band) = 0;
    // Moves the two band lines for the new band; the mean line, bars and marks stay.
    void setBand(double overallMean, double band);
    // Marks on every bar the score of a reference profile (a diamond at its value); null takes the
    // marks away.
    void setReference(const ProfileScores *reference);

    // The foot line, cut with "…" in the middle of the name where it is too long for the chart; the
    // whole line is the foot's tooltip.
    void setFoot(const QString &code, const QString &name, const QString &date);
    QString foot() const;
    QString title() const;
    void setTitle(const QString &title);

    // A series by its name ("SeriesMean", "SeriesChart", ...).
    QAbstractSeries *series(QStringView name) const;
    // The score of statement s as the chart holds it, its bar's colour and the text of its tooltip.
    double barValue(int s) const;
    QColor barColor(int s) const;
    QString barToolTip(int s) const;
    ChartMarks *marks() const { return m_marks; }

protected:
    enum class Lines { Vertical, Horizontal };
    StatementChart(QWidget *parent, Lines lines, int lineFrom, int lineTo);

    void resizeEvent(QResizeEvent *event) override;
    // Keeps the axis label steps as wide as the labels need after a resize or a range change.
    virtual void relayout() {}
    void placeFoot();
    // The mean and band lines and the bars, as the refresh fills them.
    void fillLines(double overallMean, double band);
    void fillBars(const ProfileScores &scores);
    // One bar set per trait, each in its colour and outlined in outline.
    void makeBarSets(QAbstractBarSeries *series, const QColor &outline);
    // The axes the bars are drawn against (value, position), for the reference marks.
    virtual std::pair<QValueAxis *, QValueAxis *> barAxes() const = 0;
    virtual QPointF barPoint(int s, double value) const = 0;

    QLineSeries *m_mean = nullptr;
    QLineSeries *m_lower = nullptr;
    QLineSeries *m_upper = nullptr;
    QList<QBarSet *> m_sets;
    ChartMarks *m_marks = nullptr;

private:
    void fillBand(double overallMean, double band);

    QScatterSeries *m_reference = nullptr;
    std::optional<ProfileScores> m_referenceScores;
    Lines m_lines;
    int m_lineFrom;
    int m_lineTo;
    QGraphicsSimpleTextItem *m_foot = nullptr;
    QString m_footCode;
    QString m_footName;
    QString m_footDate;
    QString m_footLine;
};

// chChart: all sixty statements as horizontal bars, five of them visible at a time.
class DetailChart : public StatementChart
{
    Q_OBJECT
public:
    explicit DetailChart(QWidget *parent);

    static QString initialTitle() { return QStringLiteral("Данные по отдельным утверждениям"); }

    // Fills every series from the scores; the window returns to statements 1 to 5.
    void showProfile(const Profile &profile, double band) override;
    // The statement window in the order of a selection: minimum 1, maximum 5i, minimum 5i - 4.
    void showIndex(int index);
    void setStatementMinimum(double minimum);
    void setStatementMaximum(double maximum);
    double statementMinimum() const { return m_windowMin; }
    double statementMaximum() const { return m_windowMax; }

    QValueAxis *valueAxis() const { return m_valueAxis; }
    QValueAxis *statementAxis() const { return m_statementAxis; }

protected:
    void relayout() override;
    std::pair<QValueAxis *, QValueAxis *> barAxes() const override { return {m_valueAxis, m_barAxis}; }
    QPointF barPoint(int s, double value) const override { return QPointF(value, s); }

private:
    void applyWindow();

    QAbstractBarSeries *m_bars = nullptr;
    QValueAxis *m_valueAxis = nullptr;
    QValueAxis *m_statementAxis = nullptr;
    QValueAxis *m_barAxis = nullptr;
    double m_windowMin = 1;
    double m_windowMax = 5;
};

// ChartAll: all sixty statements as vertical bars with the twelve index markers above them.
class OverviewChart : public StatementChart
{
    Q_OBJECT
public:
    explicit OverviewChart(QWidget *parent);

    static QString initialTitle() { return QStringLiteral("Данные по всем утверждениям"); }

    // 0 while the detail chart is in front, 1 while this chart is.
    int Tag = 0;

    void showProfile(const Profile &profile, double band) override;
    // As every chart, and in front of the detail chart while the session says so (Tag follows).
    void follow(const Session &session);
    QColor markerColor(int k) const;
    QValueAxis *statementAxis() const { return m_statementAxis; }

signals:
    // A click on a point of one of the series, with the series and the point's zero-based index.
    void seriesClicked(QAbstractSeries *series, int pointIndex);

protected:
    void relayout() override;
    std::pair<QValueAxis *, QValueAxis *> barAxes() const override { return {m_valueAxis, m_barAxis}; }
    QPointF barPoint(int s, double value) const override { return QPointF(s, value); }

private:
    QScatterSeries *m_scales = nullptr;
    QValueAxis *m_statementAxis = nullptr;
    QValueAxis *m_valueAxis = nullptr;
    QValueAxis *m_barAxis = nullptr;
};
