#pragma once
// The two statement charts on Qt Charts: the detail chart of the five statements of one index and
// the overview of all sixty. Qt Charts draws axes, bars, lines and markers; the value marks and the
// foot line, which it lacks, are small graphics items kept in place on top of the chart.

#include "Scoring.h"

#include <QChartView>
#include <QGraphicsItem>

class QBarSet;
class QAbstractBarSeries;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class QGraphicsSimpleTextItem;

namespace ChartMath {

// The smallest multiple of minStep from the 1-2-5 sequence whose labels, each labelExtent pixels
// long, do not overlap along an axis of pixelLength pixels spanning range units.
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

// A chart view with a one-line foot drawn inside the chart under the plotting area.
class FootedChartView : public QChartView
{
    Q_OBJECT
public:
    explicit FootedChartView(QWidget *parent);

    void setFoot(const QString &line);
    QString foot() const;
    QString title() const;
    void setTitle(const QString &title);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void placeFoot();
    // Keeps the axis label steps as wide as the labels need after a resize or a range change.
    virtual void relayout() {}

    QGraphicsSimpleTextItem *m_foot = nullptr;
};

// chChart: all sixty statements as horizontal bars, five of them visible at a time.
class DetailChart : public FootedChartView
{
    Q_OBJECT
public:
    explicit DetailChart(QWidget *parent);

    static QString initialTitle() { return QStringLiteral("Данные по отдельным утверждениям"); }

    QLineSeries *SeriesMean = nullptr;
    QLineSeries *SeriesMin = nullptr;
    QLineSeries *SeriesMax = nullptr;
    QAbstractBarSeries *SeriesChart = nullptr;

    // Fills every series from the scores; the window returns to statements 1 to 5.
    void rebuild(const ProfileScores &scores, double mean, double delta);
    void rebuildBandLines(double mean, double delta);
    // The statement window in the order of a selection: minimum 1, maximum 5i, minimum 5i - 4.
    void showIndex(int index);
    void setStatementMinimum(double minimum);
    void setStatementMaximum(double maximum);
    double statementMinimum() const { return m_windowMin; }
    double statementMaximum() const { return m_windowMax; }

    // The score of statement s as the chart holds it, and its mark.
    double barValue(int s) const;
    QColor barColor(int s) const;
    ChartMarks *marks() const { return m_marks; }
    QValueAxis *valueAxis() const { return m_valueAxis; }
    QValueAxis *statementAxis() const { return m_statementAxis; }

protected:
    void relayout() override;

private:
    void applyWindow();

    QValueAxis *m_valueAxis = nullptr;
    QValueAxis *m_statementAxis = nullptr;
    QValueAxis *m_barAxis = nullptr;
    QList<QBarSet *> m_sets;
    ChartMarks *m_marks = nullptr;
    double m_windowMin = 1;
    double m_windowMax = 5;
};

// ChartAll: all sixty statements as vertical bars with the twelve index markers above them.
class OverviewChart : public FootedChartView
{
    Q_OBJECT
public:
    explicit OverviewChart(QWidget *parent);

    static QString initialTitle() { return QStringLiteral("Данные по всем утверждениям"); }

    // 0 while the detail chart is in front, 1 while this chart is.
    int Tag = 0;

    QScatterSeries *SeriesScales = nullptr;
    QLineSeries *SeriesAllMean = nullptr;
    QLineSeries *SeriesAllMax = nullptr;
    QLineSeries *SeriesAllMin = nullptr;
    QAbstractBarSeries *SeriesAll = nullptr;

    void rebuild(const ProfileScores &scores, double mean, double delta);
    void rebuildBandLines(double mean, double delta);

    double barValue(int s) const;
    QColor barColor(int s) const;
    QColor markerColor(int k) const;
    ChartMarks *marks() const { return m_marks; }
    QValueAxis *statementAxis() const { return m_statementAxis; }

signals:
    // A click on a point of one of the series, with the point's zero-based index.
    void seriesClicked(QAbstractSeries *series, int pointIndex);

protected:
    void relayout() override;

private:
    QValueAxis *m_statementAxis = nullptr;
    QValueAxis *m_valueAxis = nullptr;
    QValueAxis *m_barAxis = nullptr;
    QList<QBarSet *> m_sets;
    ChartMarks *m_marks = nullptr;
};
