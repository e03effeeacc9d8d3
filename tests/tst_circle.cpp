// The profile circle: polygon, markers, value labels, band half-width and label clicks.

#include "WindowFixture.h"

#include "CirclePicture.h"
#include "GridPicture.h"

#include <QApplication>
#include <QLineEdit>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QPlainTextEdit>
#include <QTest>

#include <cmath>

using namespace TestSupport;
using namespace CirclePicture;

using PointList = QList<QPoint>;

namespace {

const QRgb Magenta = qRgb(255, 0, 255);
const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);

// The overlay's bitmap, on which the polygon is drawn.
const QImage &overlay(const WindowFixture &fx)
{
    static const QImage none;
    const ProfileOverlay *plot = fx.find<ProfileOverlay>(QStringLiteral("imPlot"));
    return plot ? plot->bitmapImage() : none;
}

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
    void comparisonWithReference();
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
    const QImage &bitmap = overlay(fx);
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
            QCOMPARE(fx.plotLabel(l)->pos(), QPoint(left[l], top[l]));
    }
}

void TestCircle::polygonPixels()
{
    WindowFixture fx;
    Respondent r;
    fx.load(r);
    const QImage &bitmap = overlay(fx);
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
    QCOMPARE(overlay(fx).pixel(297, 280), Black);
    QCOMPARE(fx.plotLabel(0)->text(), QStringLiteral("0,00"));
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
    const QImage &bitmap = overlay(fx);
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
    fx.delta()->setValue(0.46);
    fx.load(r);
    const double upper = f.profile().overallMean + 0.46;
    QVERIFY(upper > 3.996 && upper < 4.0);
    QCOMPARE(fx.plotLabel(8)->text(), QStringLiteral("4,00"));
    // The label and the grid cell of the same score agree: both bold green.
    QCOMPARE(styleOf(fx.plotLabel(8)), ScoreBand::High);
    const GridPicture::CellLook cell = GridPicture::look(1, 1, fx.grid()->cellText(1, 1), false, Qt::lightGray, Qt::white,
                                                         f.profile().overallMean, f.band());
    QVERIFY(cell.bold);
    QCOMPARE(cell.textColor, QColor(0, 128, 0));
}

void TestCircle::boundsAreInclusive()
{
    // A score on a band limit lies in the band. The scores multiply to 1.5^12 exactly, so the overall
    // mean is 1.5 and its limits at a half-width of 0.5 are 2.0 and 1.0 exactly.
    WindowFixture fx;
    TForm1 &f = *fx.form;
    Respondent r = Respondent::uniform(1.5);
    r.indices[0] = 1.125;
    r.indices[1] = 2.25;
    r.indices[9] = 2.0;  // label 0
    r.indices[10] = 1.0; // label 1
    fx.load(r);
    QCOMPARE(f.profile().overallMean, 1.5);
    for (double delta : {0.5, 0.6, 0.5}) { // from the load, then from a change of the half-width
        fx.delta()->setValue(delta);
        const bool onLimits = delta == 0.5;
        QCOMPARE(styleOf(fx.plotLabel(0)), onLimits ? ScoreBand::High : ScoreBand::Neither);
        QCOMPARE(styleOf(fx.plotLabel(1)), onLimits ? ScoreBand::Low : ScoreBand::Neither);
        QCOMPARE(styleOf(fx.plotLabel(2)), ScoreBand::Neither);
    }
}

void TestCircle::secondLoadRestyles()
{
    WindowFixture fx;
    fx.load(Respondent()); // the worked example: index 2 high, index 7 low
    QCOMPARE(styleOf(fx.plotLabel(7)), ScoreBand::High); // label 7 shows index 2
    QCOMPARE(styleOf(fx.plotLabel(9)), ScoreBand::Low);  // label 9 shows index 7
    fx.load(Respondent::uniform(3));
    for (int l = 0; l < 16; ++l)
        QCOMPARE(styleOf(fx.plotLabel(l)), ScoreBand::Neither);
}

void TestCircle::bandChangeKeepsPolygonAndTexts()
{
    WindowFixture fx;
    fx.load(Respondent());
    const QImage before = overlay(fx).copy();
    QStringList texts;
    for (int l = 0; l < 16; ++l)
        texts << fx.plotLabel(l)->text();
    fx.delta()->setValue(0.05);
    QCOMPARE(overlay(fx), before);
    for (int l = 0; l < 16; ++l)
        QCOMPARE(fx.plotLabel(l)->text(), texts[l]);
    // With a narrow band the trait of 3.70 (label 14) is now high.
    QCOMPARE(styleOf(fx.plotLabel(14)), ScoreBand::High);
}

void TestCircle::emptyBandEntryReadsAsMinimum()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    QCOMPARE(styleOf(fx.plotLabel(8)), ScoreBand::Neither); // index 1: 3.20 against 3.3443 +- 0.5
    fx.delta()->editor()->clear();
    QCOMPARE(f.band(), 0.01);
    QCOMPARE(styleOf(fx.plotLabel(8)), ScoreBand::Low);
    // Leaving the box puts "0,50" back: the labels and band lines follow, the handler runs once.
    QSignalSpy changes(fx.delta(), &RealSpinEdit::textEdited);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(fx.delta(), &leave);
    QCOMPARE(fx.delta()->editor()->text(), QStringLiteral("0,50"));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(styleOf(fx.plotLabel(8)), ScoreBand::Neither);
    const auto *upper = qobject_cast<const QXYSeries *>(fx.detailChart()->series(u"SeriesMax"));
    QVERIFY(upper);
    QCOMPARE(upper->at(0).x(), f.profile().overallMean + 0.5);
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
    fx.grid()->moveTo(1, 6);
    QTest::mouseClick(fx.plotLabel(label), Qt::LeftButton);
    QCOMPARE(fx.grid()->currentColumnIndex(), column);
    QCOMPARE(fx.grid()->currentRowIndex(), row);
    QVERIFY(fx.grid()->hasFocus());
    QCOMPARE(fx.detailChart()->title(), Resource::chartCaption(row));
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
    fx.grid()->moveTo(1, 3);
    fx.memo()->setPlainText(QStringLiteral("заметка пользователя"));
    QTest::mouseClick(fx.plotLabel(6), Qt::LeftButton); // label 6 shows index 3
    QCOMPARE(f.memoText(), QStringLiteral("заметка пользователя"));
}

void TestCircle::comparisonWithReference()
{
    // A member of a group shown against the group: a second, dashed polygon with a legend, the
    // group's score on every bar, the differences in the grid's tooltips; turned off, every view is
    // exactly as without comparison.
    WindowFixture fx;
    fx.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
    writeResultFile(fx.dataDir(), QStringLiteral("a.cry"), Respondent::uniform(2.0));
    writeResultFile(fx.dataDir(), QStringLiteral("b.cry"), Respondent::uniform(4.0));
    fx.prompts->openAnswers << fx.dataDir() + QStringLiteral("/a.cry");
    fx.action("mmGroup")->trigger();
    QCOMPARE(fx.form->profile().respondentCount(), 2);
    fx.form->showMember(1);
    QCOMPARE(fx.edit("ceNanket")->text(), QStringLiteral("1"));
    QVERIFY(fx.form->session().reference());
    QCOMPARE(fx.form->session().reference()->scores.index(1), 3.0);

    // The group's polygon lies at radius 99.5 (all 3), dashed dark blue; the member's at 4.
    const QImage overlay = fx.circle()->findChild<ProfileOverlay *>(QStringLiteral("imPlot"))->bitmapImage();
    const QPoint dashed = CirclePicture::PlacePlotPoint(CirclePicture::plotCentre(), 0, CirclePicture::ScoreRadius(3.0));
    int blue = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            blue += overlay.pixelColor(dashed + QPoint(dx, dy)) == QColor(0, 0, 160) ? 1 : 0;
    QVERIFY2(blue > 0, "the reference polygon runs through its vertex");
    int legend = 0;
    for (int y = CirclePicture::LegendTop; y < CirclePicture::LegendTop + 30; ++y)
        for (int x = CirclePicture::LegendLeft; x < CirclePicture::LegendLeft + 18; ++x)
            legend += overlay.pixelColor(x - 2, y - 2) == QColor(0, 0, 160) ? 1 : 0;
    QVERIFY2(legend > 0, "the legend shows the dashed line");

    const auto *marks = static_cast<const QXYSeries *>(fx.detailChart()->series(u"SeriesReference"));
    QVERIFY(marks && marks->isVisible());
    QCOMPARE(marks->count(), 60);
    QCOMPARE(marks->at(6).x(), 3.0);
    QVERIFY(fx.overviewChart()->series(u"SeriesReference")->isVisible());
    QVERIFY(fx.detailChart()->barToolTip(7).contains(QStringLiteral("эталон: 3,00; разница: +1,00")));
    QCOMPARE(fx.grid()->item(1, 1)->toolTip(), QStringLiteral("Эталон: 3,00\nРазница: +1,00"));
    QCOMPARE(fx.grid()->item(13, 3)->toolTip(), QStringLiteral("Эталон: 3,00\nРазница: +1,00"));

    // Off: the same pictures and texts as a window that never compared.
    fx.form->session().setReference(std::nullopt);
    WindowFixture plain;
    plain.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(plain.form.get()));
    plain.load(Respondent::uniform(4.0), QStringLiteral("b.cry"));
    const auto overlayOf = [](const WindowFixture &w) {
        return w.circle()->findChild<ProfileOverlay *>(QStringLiteral("imPlot"))->bitmapImage();
    };
    QCOMPARE(overlayOf(fx), overlayOf(plain));
    QVERIFY(!fx.detailChart()->series(u"SeriesReference")->isVisible());
    QVERIFY(fx.grid()->item(1, 1)->toolTip().isEmpty());
    QVERIFY(!fx.detailChart()->barToolTip(7).contains(QStringLiteral("эталон")));
}

QTEST_MAIN(TestCircle)
#include "tst_circle.moc"
