// The detail chart and the overview chart.

#include "RealSpinEdit.h"
#include "ResultsGrid.h"
#include "StatementCharts.h"
#include "WindowFixture.h"

#include <QAction>
#include <QBarSet>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QTest>
#include <QValueAxis>

using namespace TestSupport;

namespace {

QList<QPointF> points(const QXYSeries *series) { return series->points(); }

bool sameIcon(const QIcon &icon, const QPixmap &pixmap)
{
    return !icon.isNull() && icon.pixmap(pixmap.size()).toImage() == pixmap.toImage();
}

Respondent profile()
{
    Respondent r;
    for (int s = 0; s < 60; ++s)
        r.items[std::size_t(s)] = 1.0 + (s % 17) * 0.25;
    return r;
}

} // namespace

class TestCharts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void startState();
    void detailAfterLoad();
    void overviewAfterLoad();
    void bandChangeMovesOnlyBandLines();
    void markerClickRetitlesOverview_data();
    void markerClickRetitlesOverview();
    void plotSwapsCharts();
    void refreshNeverAccumulates();
    void widenedLabelStep_data();
    void widenedLabelStep();
    void marksStayInsidePlotArea();
    void pictures_data();
    void pictures();
};

void TestCharts::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void TestCharts::startState()
{
    WindowFixture fx;
    QCOMPARE(fx.form->chChart->title(), QStringLiteral("Данные по отдельным утверждениям"));
    QCOMPARE(fx.form->ChartAll->title(), QStringLiteral("Данные по всем утверждениям"));
    QVERIFY(points(fx.form->chChart->SeriesMean).isEmpty());
    QVERIFY(!fx.form->chChart->chart()->legend()->isVisible());
}

void TestCharts::detailAfterLoad()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const Respondent r = profile();
    fx.load(r);
    f.sgResF->moveTo(1, 9);
    fx.load(r); // a second load returns the detail chart to index 1
    DetailChart *c = f.chChart;
    QCOMPARE(c->title(), QStringLiteral("1. Делегирование полномочий [Вовлеченность]"));
    QCOMPARE(c->statementMinimum(), 1.0);
    QCOMPARE(c->statementMaximum(), 5.0);
    // The axis puts the window from 9 % to 92 % of the plotting height, numbers growing upwards.
    const QValueAxis *axis = c->statementAxis();
    const double whole = axis->max() - axis->min();
    QVERIFY(std::abs((axis->max() - 5.0) / whole - 0.09) < 1e-9);
    QVERIFY(std::abs((1.0 - axis->min()) / whole - 0.08) < 1e-9);
    const QRectF area = c->chart()->plotArea();
    const QPointF one = c->chart()->mapToPosition(QPointF(1, 1), c->SeriesMean);
    const QPointF five = c->chart()->mapToPosition(QPointF(1, 5), c->SeriesMean);
    QVERIFY(five.y() < one.y());
    QVERIFY(std::abs((five.y() - area.top()) / area.height() - 0.09) < 0.01);
    for (int s = 1; s <= 60; ++s) {
        QCOMPARE(c->barValue(s), r.items[std::size_t(s - 1)]);
        QCOMPARE(c->barColor(s), Resource::statementColor(s));
        QCOMPARE(c->marks()->marks().at(s - 1).text, Scoring::scoreText(r.items[std::size_t(s - 1)]));
    }
    QCOMPARE(c->marks()->marks().at(1).text, QStringLiteral("1,25"));
    // Bars are 70 % of the window's length divided by six, shifted by a tenth of that.
    QVERIFY(std::abs(static_cast<QAbstractBarSeries *>(c->SeriesChart)->barWidth() - 0.7 * 4 / 6) < 1e-12);
    const QList<QPointF> mean = points(c->SeriesMean);
    QCOMPARE(mean.size(), 61);
    QCOMPARE(mean.first(), QPointF(f.OverallMean, 0));
    QCOMPARE(mean.last(), QPointF(f.OverallMean, 60));
    QCOMPARE(points(c->SeriesMin).first().x(), f.OverallMean - 0.5);
    QCOMPARE(points(c->SeriesMax).first().x(), f.OverallMean + 0.5);
    QCOMPARE(c->SeriesMean->pen().color(), QColor(Qt::blue));
    QCOMPARE(c->SeriesMin->pen().style(), Qt::DashLine);
    QCOMPARE(c->SeriesMax->pen().color(), QColor(Qt::red));
    QCOMPARE(c->valueAxis()->min(), 0.0);
    QCOMPARE(c->valueAxis()->max(), 5.5);
}

void TestCharts::overviewAfterLoad()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    const Respondent r = profile();
    fx.load(r);
    OverviewChart *c = f.ChartAll;
    const QList<QPointF> markers = points(c->SeriesScales);
    QCOMPARE(markers.size(), 12);
    for (int k = 0; k < 12; ++k) {
        QCOMPARE(markers[k], QPointF(5 * (k + 1), 5.1));
        QCOMPARE(c->marks()->marks().at(k).text, QString::number(k + 1));
        QCOMPARE(c->markerColor(k), Resource::indexColor(k + 1));
    }
    for (int s = 1; s <= 60; ++s) {
        QCOMPARE(c->barValue(s), r.items[std::size_t(s - 1)]);
        QCOMPARE(c->barColor(s), Resource::statementColor(s));
    }
    const QList<QPointF> mean = points(c->SeriesAllMean);
    QCOMPARE(mean.size(), 62);
    QCOMPARE(mean.last(), QPointF(61, f.OverallMean));
    QCOMPARE(c->SeriesAllMax->pen().style(), Qt::DotLine);
    QCOMPARE(c->SeriesAllMin->pen().color(), QColor(Qt::black));
    QCOMPARE(c->statementAxis()->min(), 0.0);
    QCOMPARE(c->statementAxis()->max(), 61.0);
}

void TestCharts::bandChangeMovesOnlyBandLines()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(profile());
    const auto meanBefore = points(f.chChart->SeriesMean);
    const auto allMeanBefore = points(f.ChartAll->SeriesAllMean);
    const auto markersBefore = points(f.ChartAll->SeriesScales);
    const double bar7 = f.chChart->barValue(7);
    f.seDelta->setValue(0.8);
    QCOMPARE(points(f.chChart->SeriesMin).first().x(), f.OverallMean - 0.8);
    QCOMPARE(points(f.chChart->SeriesMax).last().x(), f.OverallMean + 0.8);
    QCOMPARE(points(f.ChartAll->SeriesAllMin).first().y(), f.OverallMean - 0.8);
    QCOMPARE(points(f.ChartAll->SeriesAllMax).size(), 62);
    QCOMPARE(points(f.chChart->SeriesMax).size(), 61);
    QCOMPARE(points(f.chChart->SeriesMean), meanBefore);
    QCOMPARE(points(f.ChartAll->SeriesAllMean), allMeanBefore);
    QCOMPARE(points(f.ChartAll->SeriesScales), markersBefore);
    QCOMPARE(f.chChart->barValue(7), bar7);
}

void TestCharts::markerClickRetitlesOverview_data()
{
    QTest::addColumn<QString>("series");
    QTest::addColumn<int>("point");
    QTest::addColumn<QString>("title");
    QTest::newRow("marker 7") << "SeriesScales" << 6 << QStringLiteral("7. Проведение изменений [Адаптивность]");
    QTest::newRow("marker 12") << "SeriesScales" << 11 << QStringLiteral("12. Видение [Миссия]");
    QTest::newRow("a bar") << "SeriesAll" << 6 << QStringLiteral("Данные по всем утверждениям");
    QTest::newRow("a line") << "SeriesAllMean" << 6 << QStringLiteral("Данные по всем утверждениям");
}

void TestCharts::markerClickRetitlesOverview()
{
    QFETCH(QString, series);
    QFETCH(int, point);
    QFETCH(QString, title);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(profile());
    QAbstractSeries *target = series == QLatin1String("SeriesScales") ? static_cast<QAbstractSeries *>(f.ChartAll->SeriesScales)
                              : series == QLatin1String("SeriesAll")  ? static_cast<QAbstractSeries *>(f.ChartAll->SeriesAll)
                                                                      : static_cast<QAbstractSeries *>(f.ChartAll->SeriesAllMean);
    const QString detailTitle = f.chChart->title();
    const QString memo = f.memoText();
    if (series == QLatin1String("SeriesScales"))
        emit f.ChartAll->SeriesScales->clicked(points(f.ChartAll->SeriesScales).at(point));
    else if (series == QLatin1String("SeriesAll"))
        emit f.ChartAll->SeriesAll->clicked(point, nullptr);
    else
        f.ChartAllClickSeries(target, point);
    QCOMPARE(f.ChartAll->title(), title);
    QCOMPARE(f.chChart->title(), detailTitle);
    QCOMPARE(f.memoText(), memo);
    QCOMPARE(f.sgResF->currentRowIndex(), 1);
    fx.load(profile()); // the overview title survives a load
    QCOMPARE(f.ChartAll->title(), title);
}

void TestCharts::plotSwapsCharts()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(profile());
    const QPixmap all = f.ImageAll->pixmap();
    const QPixmap five = f.Image5M->pixmap();
    // The chart in front is the one the panel shows at a point inside it.
    auto front = [&]() -> QObject * {
        QWidget *w = f.paChart->childAt(100, 100);
        while (w && w->parentWidget() != f.paChart)
            w = w->parentWidget();
        return w;
    };
    QCOMPARE(front(), static_cast<QObject *>(f.chChart));
    QVERIFY(sameIcon(f.mmPlotAll->icon(), all));
    QVERIFY(sameIcon(f.mmPlotSave->icon(), five));
    f.mmPlotAll->trigger();
    QCOMPARE(f.ChartAll->Tag, 1);
    QCOMPARE(front(), static_cast<QObject *>(f.ChartAll));
    QVERIFY(sameIcon(f.mmPlotAll->icon(), five));
    QVERIFY(sameIcon(f.mmPlotSave->icon(), all));
    fx.load(profile()); // a load changes neither Tag nor the order
    QCOMPARE(f.ChartAll->Tag, 1);
    QCOMPARE(front(), static_cast<QObject *>(f.ChartAll));
    f.mmPlotAll->trigger();
    QCOMPARE(f.ChartAll->Tag, 0);
    QCOMPARE(front(), static_cast<QObject *>(f.chChart));
    QVERIFY(sameIcon(f.mmPlotAll->icon(), all));
    QVERIFY(sameIcon(f.mmPlotSave->icon(), five));
    f.ChartAll->Tag = 7; // any other value: nothing happens
    f.mmPlotAll->trigger();
    QCOMPARE(f.ChartAll->Tag, 7);
}

void TestCharts::refreshNeverAccumulates()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(profile());
    fx.load(Respondent::uniform(2));
    QCOMPARE(points(f.chChart->SeriesMean).size(), 61);
    QCOMPARE(points(f.chChart->SeriesMin).size(), 61);
    QCOMPARE(points(f.ChartAll->SeriesAllMin).size(), 62);
    QCOMPARE(points(f.ChartAll->SeriesScales).size(), 12);
    QCOMPARE(f.chChart->marks()->marks().size(), 60);
    for (QBarSet *set : static_cast<QAbstractBarSeries *>(f.ChartAll->SeriesAll)->barSets())
        QCOMPARE(set->count(), 61);
    QCOMPARE(f.chChart->barValue(33), 2.0);

    // Over hundreds of loads the window keeps what it owns: the same objects and chart items, and
    // the heap (where the C library tells) grows by far less than a load's worth of pictures.
    const QString files[2] = {writeResultFile(fx.dataDir(), QStringLiteral("a.cry"), profile()),
                              writeResultFile(fx.dataDir(), QStringLiteral("b.cry"), Respondent::uniform(2))};
    const auto owned = [&] {
        return QList<qsizetype>{f.findChildren<QObject *>().size(), f.chChart->scene()->items().size(),
                                f.ChartAll->scene()->items().size()};
    };
    const auto loadMany = [&](int loads) {
        for (int n = 0; n < loads; ++n) {
            fx.prompts->openAnswers << files[n % 2];
            f.mmOpenClick();
            fx.prompts->openDialogs.clear(); // the script's own record
            QCoreApplication::processEvents();
        }
    };
    loadMany(20);
    const QList<qsizetype> before = owned();
    const long long heap = heapInUse();
    loadMany(300);
    QCOMPARE(owned(), before);
    if (heap > 0)
        QVERIFY2(heapInUse() - heap < 64 * 1024, qPrintable(QString::number(heapInUse() - heap)));
}

void TestCharts::widenedLabelStep_data()
{
    QTest::addColumn<double>("minStep");
    QTest::addColumn<double>("range");
    QTest::addColumn<double>("pixels");
    QTest::addColumn<double>("extent");
    QTest::addColumn<double>("step");
    QTest::newRow("room for every label") << 1.0 << 5.0 << 500.0 << 20.0 << 1.0;
    QTest::newRow("two decimals on 350 px") << 0.01 << 5.5 << 350.0 << 40.0 << 1.0;
    QTest::newRow("statements on 380 px") << 1.0 << 61.0 << 380.0 << 28.0 << 5.0;
    QTest::newRow("0.2 fits") << 0.01 << 5.5 << 1200.0 << 40.0 << 0.2;
}

void TestCharts::widenedLabelStep()
{
    QFETCH(double, minStep);
    QFETCH(double, range);
    QFETCH(double, pixels);
    QFETCH(double, extent);
    QFETCH(double, step);
    QVERIFY(std::abs(ChartMath::widenedLabelStep(minStep, range, pixels, extent) - step) < 1e-9);
}

void TestCharts::marksStayInsidePlotArea()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent::uniform(5));
    const QRectF area = f.chChart->chart()->plotArea();
    for (int k = 0; k < 5; ++k) {
        const QRectF box = f.chChart->marks()->boxRect(k);
        QVERIFY(area.contains(box));
        QVERIFY(!box.isEmpty());
    }
    QVERIFY(f.chChart->marks()->boxRect(30).isEmpty()); // statement 31 lies outside the window
}


void TestCharts::pictures_data()
{
    QTest::addColumn<bool>("overview");
    QTest::addColumn<QColor>("outline");
    QTest::newRow("detail chart") << false << QColor(Qt::black);
    QTest::newRow("overview chart") << true << QColor(128, 128, 128);
}

void TestCharts::pictures()
{
    // What the "Plot" export saves: white to the panel's edge, bars outlined.
    QFETCH(bool, overview);
    QFETCH(QColor, outline);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent::uniform(3));
    if (overview)
        f.mmPlotAll->trigger();
    QTest::qWait(50);
    const QImage panel = f.paChart->grab().toImage();
    const int w = panel.width(), h = panel.height();
    for (const QPoint &p : {QPoint(2, h / 2), QPoint(w - 3, h / 2), QPoint(w / 2, 2), QPoint(w / 4, h - 3)})
        QVERIFY2(panel.pixelColor(p) == QColor(Qt::white), qPrintable(QStringLiteral("(%1, %2) is %3").arg(p.x()).arg(p.y()).arg(panel.pixelColor(p).name())));
    // From the middle of statement 1's bar outwards (up across a horizontal bar, left across a
    // vertical one), the first pixel that is not the bar's green is its outline.
    FootedChartView *chart = overview ? static_cast<FootedChartView *>(f.ChartAll) : f.chChart;
    QAbstractSeries *bars = overview ? f.ChartAll->SeriesAll : f.chChart->SeriesChart;
    const QPointF middle = chart->chart()->mapToPosition(overview ? QPointF(1, 1.5) : QPointF(1.5, 1), bars);
    QPoint p = chart->mapFromScene(middle) + chart->pos();
    const QColor green(0, 128, 0);
    QCOMPARE(panel.pixelColor(p), green);
    const QPoint step = overview ? QPoint(-1, 0) : QPoint(0, -1);
    while (panel.pixelColor(p) == green)
        p += step;
    QCOMPARE(panel.pixelColor(p), outline);
}

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
