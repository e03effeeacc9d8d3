// The detail chart and the overview chart.

#include "WindowFixture.h"

#include <QAction>
#include <QBarSet>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QGraphicsScene>
#include <QTest>
#include <QValueAxis>

using namespace TestSupport;

namespace {

// The points of a line or scatter series of a chart, found by its name.
QXYSeries *xy(const StatementChart *chart, QStringView name) { return qobject_cast<QXYSeries *>(chart->series(name)); }
QList<QPointF> points(const StatementChart *chart, QStringView name)
{
    const QXYSeries *series = xy(chart, name);
    return series ? series->points() : QList<QPointF>{QPointF(-1e9, -1e9)};
}
QAbstractBarSeries *bars(const StatementChart *chart, QStringView name)
{
    return qobject_cast<QAbstractBarSeries *>(chart->series(name));
}

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
    void detailChartKeepsItsNumbers_data();
    void detailChartKeepsItsNumbers();
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
    QCOMPARE(fx.detailChart()->title(), QStringLiteral("Данные по отдельным утверждениям"));
    QCOMPARE(fx.overviewChart()->title(), QStringLiteral("Данные по всем утверждениям"));
    // Every series the tests reach by name is there before any load.
    for (QStringView name : {u"SeriesMean", u"SeriesMin", u"SeriesMax"})
        QVERIFY(xy(fx.detailChart(), name));
    for (QStringView name : {u"SeriesScales", u"SeriesAllMean", u"SeriesAllMin", u"SeriesAllMax"})
        QVERIFY(xy(fx.overviewChart(), name));
    QVERIFY(bars(fx.detailChart(), u"SeriesChart"));
    QVERIFY(bars(fx.overviewChart(), u"SeriesAll"));
    QVERIFY(points(fx.detailChart(), u"SeriesMean").isEmpty());
    QVERIFY(!fx.detailChart()->chart()->legend()->isVisible());
}

void TestCharts::detailAfterLoad()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const Respondent r = profile();
    fx.load(r);
    fx.grid()->moveTo(1, 9);
    fx.load(r); // a second load returns the detail chart to index 1
    DetailChart *c = fx.detailChart();
    QCOMPARE(c->title(), QStringLiteral("1. Делегирование полномочий [Вовлеченность]"));
    QCOMPARE(c->statementMinimum(), 1.0);
    QCOMPARE(c->statementMaximum(), 5.0);
    // The axis puts the window from 9 % to 92 % of the plotting height, numbers growing upwards.
    const QValueAxis *axis = c->statementAxis();
    const double whole = axis->max() - axis->min();
    QVERIFY(std::abs((axis->max() - 5.0) / whole - 0.09) < 1e-9);
    QVERIFY(std::abs((1.0 - axis->min()) / whole - 0.08) < 1e-9);
    const QRectF area = c->chart()->plotArea();
    const QPointF one = c->chart()->mapToPosition(QPointF(1, 1), c->series(u"SeriesMean"));
    const QPointF five = c->chart()->mapToPosition(QPointF(1, 5), c->series(u"SeriesMean"));
    QVERIFY(five.y() < one.y());
    QVERIFY(std::abs((five.y() - area.top()) / area.height() - 0.09) < 0.01);
    for (int s = 1; s <= 60; ++s) {
        QCOMPARE(c->barValue(s), r.items[std::size_t(s - 1)]);
        QCOMPARE(c->barColor(s), Resource::statementColor(s));
        QCOMPARE(c->marks()->marks().at(s - 1).text, Scoring::scoreText(r.items[std::size_t(s - 1)]));
    }
    QCOMPARE(c->marks()->marks().at(1).text, QStringLiteral("1,25"));
    // Bars are 70 % of the window's length divided by six, shifted by a tenth of that.
    QVERIFY(std::abs(bars(c, u"SeriesChart")->barWidth() - 0.7 * 4 / 6) < 1e-12);
    const QList<QPointF> mean = points(c, u"SeriesMean");
    QCOMPARE(mean.size(), 61);
    QCOMPARE(mean.first(), QPointF(f.profile().overallMean, 0));
    QCOMPARE(mean.last(), QPointF(f.profile().overallMean, 60));
    QCOMPARE(points(c, u"SeriesMin").first().x(), f.profile().overallMean - 0.5);
    QCOMPARE(points(c, u"SeriesMax").first().x(), f.profile().overallMean + 0.5);
    QCOMPARE(xy(c, u"SeriesMean")->pen().color(), QColor(Qt::blue));
    QCOMPARE(xy(c, u"SeriesMin")->pen().style(), Qt::DashLine);
    QCOMPARE(xy(c, u"SeriesMax")->pen().color(), QColor(Qt::red));
    QCOMPARE(c->valueAxis()->min(), 0.0);
    QCOMPARE(c->valueAxis()->max(), 5.5);
}

void TestCharts::overviewAfterLoad()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    const Respondent r = profile();
    fx.load(r);
    OverviewChart *c = fx.overviewChart();
    const QList<QPointF> markers = points(c, u"SeriesScales");
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
    const QList<QPointF> mean = points(c, u"SeriesAllMean");
    QCOMPARE(mean.size(), 62);
    QCOMPARE(mean.last(), QPointF(61, f.profile().overallMean));
    QCOMPARE(xy(c, u"SeriesAllMax")->pen().style(), Qt::DotLine);
    QCOMPARE(xy(c, u"SeriesAllMin")->pen().color(), QColor(Qt::black));
    QCOMPARE(c->statementAxis()->min(), 0.0);
    QCOMPARE(c->statementAxis()->max(), 61.0);
}

void TestCharts::bandChangeMovesOnlyBandLines()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(profile());
    const auto meanBefore = points(fx.detailChart(), u"SeriesMean");
    const auto allMeanBefore = points(fx.overviewChart(), u"SeriesAllMean");
    const auto markersBefore = points(fx.overviewChart(), u"SeriesScales");
    const double bar7 = fx.detailChart()->barValue(7);
    fx.delta()->setValue(0.8);
    QCOMPARE(points(fx.detailChart(), u"SeriesMin").first().x(), f.profile().overallMean - 0.8);
    QCOMPARE(points(fx.detailChart(), u"SeriesMax").last().x(), f.profile().overallMean + 0.8);
    QCOMPARE(points(fx.overviewChart(), u"SeriesAllMin").first().y(), f.profile().overallMean - 0.8);
    QCOMPARE(points(fx.overviewChart(), u"SeriesAllMax").size(), 62);
    QCOMPARE(points(fx.detailChart(), u"SeriesMax").size(), 61);
    QCOMPARE(points(fx.detailChart(), u"SeriesMean"), meanBefore);
    QCOMPARE(points(fx.overviewChart(), u"SeriesAllMean"), allMeanBefore);
    QCOMPARE(points(fx.overviewChart(), u"SeriesScales"), markersBefore);
    QCOMPARE(fx.detailChart()->barValue(7), bar7);
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
    OverviewChart *c = fx.overviewChart();
    QAbstractSeries *target = c->series(series);
    QVERIFY(target);
    const QString detailTitle = fx.detailChart()->title();
    const QString memo = f.memoText();
    if (series == QLatin1String("SeriesScales"))
        emit xy(c, u"SeriesScales")->clicked(points(c, u"SeriesScales").at(point));
    else if (series == QLatin1String("SeriesAll"))
        emit bars(c, u"SeriesAll")->clicked(point, nullptr);
    else
        f.ChartAllClickSeries(target, point);
    QCOMPARE(fx.overviewChart()->title(), title);
    QCOMPARE(fx.detailChart()->title(), detailTitle);
    QCOMPARE(f.memoText(), memo);
    QCOMPARE(fx.grid()->currentRowIndex(), 1);
    fx.load(profile()); // the overview title survives a load
    QCOMPARE(fx.overviewChart()->title(), title);
}

void TestCharts::plotSwapsCharts()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(profile());
    const QPixmap all = fx.label("ImageAll")->pixmap();
    const QPixmap five = fx.label("Image5M")->pixmap();
    // The chart in front is the one the panel shows at a point inside it.
    auto front = [&]() -> QObject * {
        QWidget *w = fx.chartPanel()->childAt(100, 100);
        while (w && w->parentWidget() != fx.chartPanel())
            w = w->parentWidget();
        return w;
    };
    QCOMPARE(front(), static_cast<QObject *>(fx.detailChart()));
    QVERIFY(sameIcon(fx.action("mmPlotAll")->icon(), all));
    QVERIFY(sameIcon(fx.action("mmPlotSave")->icon(), five));
    fx.action("mmPlotAll")->trigger();
    QCOMPARE(fx.overviewChart()->Tag, 1);
    QCOMPARE(front(), static_cast<QObject *>(fx.overviewChart()));
    QVERIFY(sameIcon(fx.action("mmPlotAll")->icon(), five));
    QVERIFY(sameIcon(fx.action("mmPlotSave")->icon(), all));
    fx.load(profile()); // a load changes neither Tag nor the order
    QCOMPARE(fx.overviewChart()->Tag, 1);
    QCOMPARE(front(), static_cast<QObject *>(fx.overviewChart()));
    fx.action("mmPlotAll")->trigger();
    QCOMPARE(fx.overviewChart()->Tag, 0);
    QCOMPARE(front(), static_cast<QObject *>(fx.detailChart()));
    QVERIFY(sameIcon(fx.action("mmPlotAll")->icon(), all));
    QVERIFY(sameIcon(fx.action("mmPlotSave")->icon(), five));
    fx.overviewChart()->Tag = 7; // any other value: nothing happens
    fx.action("mmPlotAll")->trigger();
    QCOMPARE(fx.overviewChart()->Tag, 7);
}

void TestCharts::refreshNeverAccumulates()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(profile());
    fx.load(Respondent::uniform(2));
    QCOMPARE(points(fx.detailChart(), u"SeriesMean").size(), 61);
    QCOMPARE(points(fx.detailChart(), u"SeriesMin").size(), 61);
    QCOMPARE(points(fx.overviewChart(), u"SeriesAllMin").size(), 62);
    QCOMPARE(points(fx.overviewChart(), u"SeriesScales").size(), 12);
    QCOMPARE(fx.detailChart()->marks()->marks().size(), 60);
    for (QBarSet *set : bars(fx.overviewChart(), u"SeriesAll")->barSets())
        QCOMPARE(set->count(), 61);
    QCOMPARE(fx.detailChart()->barValue(33), 2.0);

    // Over hundreds of loads the window keeps what it owns: the same objects and chart items, and
    // the heap (where the C library tells) grows by far less than a load's worth of pictures.
    const QString files[2] = {writeResultFile(fx.dataDir(), QStringLiteral("a.cry"), profile()),
                              writeResultFile(fx.dataDir(), QStringLiteral("b.cry"), Respondent::uniform(2))};
    const auto owned = [&] {
        return QList<qsizetype>{f.findChildren<QObject *>().size(), fx.detailChart()->scene()->items().size(),
                                fx.overviewChart()->scene()->items().size()};
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
    // Before the first layout: one label step, not 550 labels of 0.01 that the layout throws away.
    QTest::newRow("not laid out yet") << 0.01 << 5.5 << 0.0 << 40.0 << 5.5;
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
    const QRectF area = fx.detailChart()->chart()->plotArea();
    for (int k = 0; k < 5; ++k) {
        const QRectF box = fx.detailChart()->marks()->boxRect(k);
        QVERIFY(area.contains(box));
        QVERIFY(!box.isEmpty());
    }
    QVERIFY(fx.detailChart()->marks()->boxRect(30).isEmpty()); // statement 31 lies outside the window
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
        fx.action("mmPlotAll")->trigger();
    // From the middle of statement 1's bar outwards (up across a horizontal bar, left across a
    // vertical one), the first pixel that is not the bar's green is its outline; the chart is
    // waited for until that bar shows.
    StatementChart *chart = overview ? static_cast<StatementChart *>(fx.overviewChart()) : fx.detailChart();
    QAbstractSeries *barSeries = chart->series(overview ? u"SeriesAll" : u"SeriesChart");
    QVERIFY(barSeries);
    const QColor green(0, 128, 0);
    QImage panel;
    QPoint p;
    const auto barShows = [&] {
        panel = fx.chartPanel()->grab().toImage();
        const QPointF middle = chart->chart()->mapToPosition(overview ? QPointF(1, 1.5) : QPointF(1.5, 1), barSeries);
        p = chart->mapFromScene(middle) + chart->pos();
        return panel.valid(p) && panel.pixelColor(p) == green;
    };
    QTRY_VERIFY(barShows());
    const int w = panel.width(), h = panel.height();
    for (const QPoint &edge : {QPoint(2, h / 2), QPoint(w - 3, h / 2), QPoint(w / 2, 2), QPoint(w / 4, h - 3)})
        QVERIFY2(panel.pixelColor(edge) == QColor(Qt::white),
                 qPrintable(QStringLiteral("(%1, %2) is %3").arg(edge.x()).arg(edge.y()).arg(panel.pixelColor(edge).name())));
    const QPoint step = overview ? QPoint(-1, 0) : QPoint(0, -1);
    while (panel.pixelColor(p) == green)
        p += step;
    QCOMPARE(panel.pixelColor(p), outline);
}

void TestCharts::detailChartKeepsItsNumbers_data()
{
    // Cells chosen one after the other (column, row); a negative column is a click on the value label
    // of that tag. Whatever came before, the chart shows the five statement numbers of the index.
    QTest::addColumn<QList<QPoint>>("cells");
    QTest::addColumn<int>("index");
    QTest::newRow("1 -> 12") << QList<QPoint>{{1, 12}} << 12;
    QTest::newRow("1 -> 7") << QList<QPoint>{{1, 7}} << 7;
    QTest::newRow("3 -> 10") << QList<QPoint>{{1, 3}, {1, 10}} << 10;
    QTest::newRow("label: 1 -> 10") << QList<QPoint>{{-1, 0}} << 10;
    QTest::newRow("12 -> 2") << QList<QPoint>{{1, 12}, {1, 2}} << 2;
    QTest::newRow("7 -> 6") << QList<QPoint>{{1, 7}, {1, 6}} << 6;
    QTest::newRow("trait column, 4 -> 12 -> 1") << QList<QPoint>{{3, 4}, {1, 12}, {1, 1}} << 1;
}

void TestCharts::detailChartKeepsItsNumbers()
{
    QFETCH(QList<QPoint>, cells);
    QFETCH(int, index);
    WindowFixture fx;
    fx.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
    fx.load(Respondent());
    for (const QPoint &cell : cells) {
        if (cell.x() < 0)
            QTest::mouseClick(fx.plotLabel(cell.y()), Qt::LeftButton);
        else
            fx.grid()->moveTo(cell.x(), cell.y());
    }
    const QValueAxis *axis = fx.detailChart()->statementAxis();
    QVERIFY(axis->isGridLineVisible());
    QCOMPARE(axis->tickType(), QValueAxis::TicksDynamic);
    // Labels and grid lines stand at the anchor plus whole steps: one at every statement shown.
    QList<int> numbers;
    for (double at = axis->tickAnchor() + std::ceil((axis->min() - axis->tickAnchor()) / axis->tickInterval()) * axis->tickInterval();
         at <= axis->max(); at += axis->tickInterval())
        numbers << int(std::lround(at));
    QCOMPARE(numbers, (QList<int>{5 * index - 4, 5 * index - 3, 5 * index - 2, 5 * index - 1, 5 * index}));
}

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
