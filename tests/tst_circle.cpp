// The profile circle: polygon, markers, value labels, band half-width and label clicks.

#include "RealSpinEdit.h"
#include "ResultsGrid.h"
#include "StatementCharts.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QLineSeries>
#include <QSignalSpy>
#include <QPlainTextEdit>
#include <QTest>

#include <cmath>

using namespace TestSupport;
using namespace ProfileCircle;

using PointList = QList<QPoint>;

namespace {

const QRgb Magenta = qRgb(255, 0, 255);
const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);

ScoreBand styleOf(const QLabel *label)
{
    const QColor color = label->palette().color(QPalette::WindowText);
    if (!label->font().bold())
        return color == QColor(0, 0, 0) ? ScoreBand::Neither : ScoreBand(-1);
    if (color == QColor(0, 128, 0))
        return ScoreBand::High;
    if (color == QColor(255, 0, 0))
        return ScoreBand::Low;
    return ScoreBand(-1);
}

} // namespace

class TestCircle : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void vertices_data();
    void vertices();
    void scoreRadius_data();
    void scoreRadius();
    void labelPositions();
    void polygonPixels();
    void zeroScoreOnCentre();
    void extremeScores_data();
    void extremeScores();
    void shownValueDecidesLabelBand();
    void boundsAreInclusive();
    void secondLoadRestyles();
    void bandChangeKeepsPolygonAndTexts();
    void emptyBandEntryReadsAsMinimum();
    void labelClicks_data();
    void labelClicks();
    void clickOnCurrentCellChangesNothing();
};

void TestCircle::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void TestCircle::vertices_data()
{
    QTest::addColumn<double>("score");
    QTest::addColumn<PointList>("expected");
    QTest::newRow("all 3") << 3.0
                           << PointList{{323, 184}, {367, 210}, {393, 254}, {393, 306}, {367, 350}, {323, 376},
                                        {271, 376}, {227, 350}, {201, 306}, {201, 254}, {227, 210}, {271, 184}};
    QTest::newRow("all 1") << 1.0
                           << PointList{{310, 231}, {333, 244}, {346, 267}, {346, 293}, {333, 316}, {310, 329},
                                        {284, 329}, {261, 316}, {248, 293}, {248, 267}, {261, 244}, {284, 231}};
}

void TestCircle::vertices()
{
    QFETCH(double, score);
    QFETCH(PointList, expected);
    WindowFixture fx;
    fx.load(Respondent::uniform(score));
    const QImage &bitmap = fx.form->imPlot->bitmapImage();
    QCOMPARE(bitmap.size(), QSize(598, 560));
    QCOMPARE(plotCentre(bitmap.width(), bitmap.height()), QPoint(297, 280));
    for (int j = 0; j < 12; ++j) {
        QCOMPARE(PlacePlotPoint(QPoint(297, 280), j, ScoreRadius(score)), expected[j]);
        // Each vertex carries a black 3 x 3 marker drawn over the lines.
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                QCOMPARE(bitmap.pixel(expected[j] + QPoint(dx, dy)), Black);
    }
}

void TestCircle::scoreRadius_data()
{
    QTest::addColumn<double>("score");
    QTest::addColumn<double>("radius");
    QTest::newRow("0") << 0.0 << 0.0;
    QTest::newRow("0.01") << 0.01 << 26.98;
    QTest::newRow("1") << 1.0 << 50.5;
    QTest::newRow("2") << 2.0 << 74.9167;
    QTest::newRow("4") << 4.0 << 124.15;
    QTest::newRow("5") << 5.0 << 148.8333;
    QTest::newRow("-1 lies on the centre") << -1.0 << 0.0;
    QTest::newRow("infinite lies on the centre") << qInf() << 0.0;
    QTest::newRow("nan lies on the centre") << qQNaN() << 0.0;
}

void TestCircle::scoreRadius()
{
    QFETCH(double, score);
    QFETCH(double, radius);
    QVERIFY(std::abs(ScoreRadius(score) - radius) < 5e-3);
}

void TestCircle::labelPositions()
{
    const int left[16] = {340, 440, 497, 497, 440, 340, 224, 129, 77, 77, 129, 224, 495, 495, 79, 79};
    const int top[16] = {70, 122, 222, 338, 418, 475, 475, 418, 338, 222, 122, 70, 82, 463, 463, 82};
    for (double score : {1.0, 4.5}) {
        WindowFixture fx;
        fx.load(Respondent::uniform(score));
        for (int l = 0; l < 16; ++l)
            QCOMPARE(fx.form->plotLabel(l)->pos(), QPoint(left[l], top[l]));
    }
}

void TestCircle::polygonPixels()
{
    WindowFixture fx;
    Respondent r;
    fx.load(r);
    const QImage &bitmap = fx.form->imPlot->bitmapImage();
    PointList vertex;
    for (int j = 0; j < 12; ++j)
        vertex << PlacePlotPoint(QPoint(297, 280), j, ScoreRadius(r.indices[std::size_t(PlotIndexOrder[std::size_t(j)] - 1)]));
    for (int j = 0; j < 12; ++j) {
        // The middle of every edge, the closing edge from 11 back to 0 included, is magenta.
        const QPoint a = vertex[j], b = vertex[(j + 1) % 12];
        const QPoint middle = (a + b) / 2;
        bool found = false;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                found = found || bitmap.pixel(middle + QPoint(dx, dy)) == Magenta;
        QVERIFY2(found, qPrintable(QStringLiteral("edge %1").arg(j)));
    }
    QCOMPARE(bitmap.pixel(5, 5), White);
    QCOMPARE(bitmap.pixel(297, 280), White);
    QCOMPARE(bitmap.pixel(0, 559), White); // the transparent colour
    int magenta = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            magenta += bitmap.pixel(x, y) == Magenta;
    QVERIFY(magenta > 500);
}

void TestCircle::zeroScoreOnCentre()
{
    WindowFixture fx;
    Respondent r = Respondent::uniform(3);
    r.indices[9] = 0; // index 10 sits at position 0
    fx.load(r);
    QCOMPARE(fx.form->imPlot->bitmapImage().pixel(297, 280), Black);
    QCOMPARE(fx.form->plotLabel(0)->text(), QStringLiteral("0,00"));
}

void TestCircle::extremeScores_data()
{
    QTest::addColumn<double>("score");
    QTest::newRow("1e12") << 1e12;
    QTest::newRow("1e300") << 1e300;
    QTest::newRow("-1e12") << -1e12;
    QTest::newRow("-1e300") << -1e300;
}

void TestCircle::extremeScores()
{
    // A score far off the scale puts its vertex far out on its own ray; the overlay clips the lines.
    QFETCH(double, score);
    WindowFixture fx;
    Respondent r = Respondent::uniform(3);
    r.indices[9] = score; // index 10 sits at position 0, 15 degrees right of straight up
    fx.load(r);
    QVERIFY(fx.prompts->errors.isEmpty());
    const QPoint far = PlacePlotPoint(QPoint(297, 280), 0, ScoreRadius(score)) - QPoint(297, 280);
    const double sign = score > 0 ? 1 : -1;
    QVERIFY(std::abs(std::hypot(far.x(), far.y()) - MaxPlotRadius) < 2);
    QVERIFY(std::abs(far.x() - sign * MaxPlotRadius * std::sin(AngleStep / 2)) < 2);
    QVERIFY(std::abs(far.y() + sign * MaxPlotRadius * std::cos(AngleStep / 2)) < 2);
    // The polygon's lines to that vertex leave the overlay through its top (or bottom) edge.
    const QImage &bitmap = fx.form->imPlot->bitmapImage();
    const int edge = score > 0 ? 0 : bitmap.height() - 1;
    int magenta = 0;
    for (int x = 0; x < bitmap.width(); ++x)
        magenta += bitmap.pixel(x, edge) == Magenta;
    QVERIFY(magenta >= 2);
}

void TestCircle::shownValueDecidesLabelBand()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    Respondent r = Respondent::uniform(3.5);
    r.indices[0] = 3.996; // index 1: label 8
    f.seDelta->setValue(0.46);
    fx.load(r);
    const double upper = f.OverallMean + 0.46;
    QVERIFY(upper > 3.996 && upper < 4.0);
    QCOMPARE(f.plotLabel(8)->text(), QStringLiteral("4,00"));
    // The label and the grid cell of the same score agree: both bold green.
    QCOMPARE(styleOf(f.plotLabel(8)), ScoreBand::High);
    const CellAppearance cell = cellAppearance(1, 1, f.sgResF->cellText(1, 1), false, QPalette(), f.OverallMean, f.delta());
    QVERIFY(cell.bold);
    QCOMPARE(cell.textColor, QColor(0, 128, 0));
}

void TestCircle::boundsAreInclusive()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    Respondent r = Respondent::uniform(3);
    r.indices[9] = 3.5;  // label 0
    r.indices[10] = 2.5; // label 1
    fx.load(r);
    f.OverallMean = 3.0;
    f.seDelta->setValue(0.5);
    f.seDeltaChange();
    QCOMPARE(styleOf(f.plotLabel(0)), ScoreBand::High);
    QCOMPARE(styleOf(f.plotLabel(1)), ScoreBand::Low);
    QCOMPARE(styleOf(f.plotLabel(2)), ScoreBand::Neither);
}

void TestCircle::secondLoadRestyles()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent()); // the worked example: index 2 high, index 7 low
    QCOMPARE(styleOf(f.plotLabel(7)), ScoreBand::High); // label 7 shows index 2
    QCOMPARE(styleOf(f.plotLabel(9)), ScoreBand::Low);  // label 9 shows index 7
    fx.load(Respondent::uniform(3));
    for (int l = 0; l < 16; ++l)
        QCOMPARE(styleOf(f.plotLabel(l)), ScoreBand::Neither);
}

void TestCircle::bandChangeKeepsPolygonAndTexts()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    const QImage before = f.imPlot->bitmapImage().copy();
    QStringList texts;
    for (int l = 0; l < 16; ++l)
        texts << f.plotLabel(l)->text();
    f.seDelta->setValue(0.05);
    QCOMPARE(f.imPlot->bitmapImage(), before);
    for (int l = 0; l < 16; ++l)
        QCOMPARE(f.plotLabel(l)->text(), texts[l]);
    // With a narrow band the trait of 3.70 (label 14) is now high.
    QCOMPARE(styleOf(f.plotLabel(14)), ScoreBand::High);
}

void TestCircle::emptyBandEntryReadsAsMinimum()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    QCOMPARE(styleOf(f.plotLabel(8)), ScoreBand::Neither); // index 1: 3.20 against 3.3443 +- 0.5
    f.seDelta->editor()->clear();
    QCOMPARE(f.delta(), 0.01);
    QCOMPARE(styleOf(f.plotLabel(8)), ScoreBand::Low);
    // Leaving the box puts "0,50" back: the labels and band lines follow, the handler runs once.
    QSignalSpy changes(f.seDelta, &RealSpinEdit::textEdited);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(f.seDelta, &leave);
    QCOMPARE(f.seDelta->editor()->text(), QStringLiteral("0,50"));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(styleOf(f.plotLabel(8)), ScoreBand::Neither);
    QCOMPARE(f.chChart->SeriesMax->at(0).x(), f.OverallMean + 0.5);
}

void TestCircle::labelClicks_data()
{
    QTest::addColumn<int>("label");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::newRow("label 8") << 8 << 1 << 1;
    QTest::newRow("label 14") << 14 << 3 << 1;
    QTest::newRow("label 0") << 0 << 1 << 10;
    QTest::newRow("label 13") << 13 << 3 << 4;
}

void TestCircle::labelClicks()
{
    QFETCH(int, label);
    QFETCH(int, column);
    QFETCH(int, row);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent());
    f.sgResF->moveTo(1, 6);
    QTest::mouseClick(f.plotLabel(label), Qt::LeftButton);
    QCOMPARE(f.sgResF->currentColumnIndex(), column);
    QCOMPARE(f.sgResF->currentRowIndex(), row);
    QVERIFY(f.sgResF->hasFocus());
    QCOMPARE(f.chChart->title(), Resource::chartCaption(row));
    const QStringList memo = column == 1 ? Resource::indexStatements(row) : Resource::traitDescription(Resource::traitOfIndex(row));
    QCOMPARE(f.memoText(), memo.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

void TestCircle::clickOnCurrentCellChangesNothing()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent());
    f.sgResF->moveTo(1, 3);
    f.meInfo->setPlainText(QStringLiteral("заметка пользователя"));
    QTest::mouseClick(f.plotLabel(6), Qt::LeftButton); // label 6 shows index 3
    QCOMPARE(f.memoText(), QStringLiteral("заметка пользователя"));
}

QTEST_MAIN(TestCircle)
#include "tst_circle.moc"
