// Screen capture and the three exports, reading a real screen (run under Xvfb).

#include "JpegCodec.h"
#include "ScrinCap.h"
#include "Translations.h"
#include "WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QAbstractBarSeries>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTest>

using namespace TestSupport;

namespace {

QImage readJpeg(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    Outcome<QImage> picture = JpegCodec::decode(file.readAll());
    return picture ? std::move(picture).value() : QImage();
}

bool near(const QColor &a, const QColor &b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

// True when some pixel within one pixel of p is close to colour.
bool colourAround(const QImage &image, QPoint p, const QColor &colour, int tolerance = 40)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (near(image.pixelColor(p + QPoint(dx, dy)), colour, tolerance))
                return true;
    return false;
}

// Screens that cannot be read: one gives nothing, one a black picture (as some Wayland sessions do).
QImage unreadableScreen(QScreen *, const QRect &) { return QImage(); }
QImage blackScreen(QScreen *, const QRect &rect)
{
    QImage black(rect.size(), QImage::Format_RGB32);
    black.fill(Qt::black);
    return black;
}

} // namespace

class TestCapture : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void emptyRectangle();
    void profilePicture_data();
    void profilePicture();
    void chartPictures();
    void coveringWindowShows();
    void cancelWritesNothing();
    void analysisFile();
    void unwritableTargetReported();

private:
    std::unique_ptr<WindowFixture> fx;
};

void TestCapture::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("these tests read the screen and need a display (run them under Xvfb)");
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // The window's own texts, as the program installs them: its message boxes speak Russian.
    QVERIFY(Translations::installRussian(*qApp));
}

void TestCapture::init()
{
    fx = std::make_unique<WindowFixture>();
    fx->form->move(0, 0);
    fx->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx->form.get()));
    fx->load(Respondent::uniform(3));
    QTest::qWait(200);
}

void TestCapture::cleanup()
{
    fx.reset();
}

void TestCapture::emptyRectangle()
{
    QVERIFY(ScrinCap::CaptureScreenRect(10, 10, 10, 50).isNull());
    QVERIFY(ScrinCap::CaptureScreenRect(10, 10, 50, 10).isNull());
    QCOMPARE(ScrinCap::CaptureScreenRect(10, 10, 30, 25).size(), QSize(20, 15));
}

void TestCapture::profilePicture_data()
{
    QTest::addColumn<ScrinCap::ScreenReader>("screen");
    QTest::newRow("screen read") << ScrinCap::ScreenReader(nullptr);
    QTest::newRow("screen gives nothing") << ScrinCap::ScreenReader(unreadableScreen);
    QTest::newRow("screen gives black") << ScrinCap::ScreenReader(blackScreen);
}

void TestCapture::profilePicture()
{
    QFETCH(ScrinCap::ScreenReader, screen);
    ScrinCap::setScreenReader(screen);
    const auto restore = qScopeGuard([] { ScrinCap::setScreenReader(nullptr); });
    TForm1 &f = *fx->form;
    const QString chosen = fx->resultsDir() + QStringLiteral("/profile");
    fx->prompts->saveAnswers << chosen;
    f.mmSaveClick();
    QVERIFY2(fx->prompts->errors.isEmpty(), qPrintable(fx->prompts->errors.join(u'\n')));
    const FileDialogSettings &dialog = fx->prompts->saveDialogs.last();
    QCOMPARE(dialog.title, QStringLiteral("Запись общего профиля в jpg-файл"));
    QCOMPARE(dialog.filter, QStringLiteral("JPG Files (*.jpg)|*.JPG"));
    QCOMPARE(dialog.initialDir, f.appDir() + QStringLiteral("Results"));
    QCOMPARE(dialog.fileName, f.appDir() + QStringLiteral("Results/Image 0042 Тест.jpg"));
    QVERIFY(dialog.overwritePrompt);
    QCOMPARE(dialog.defaultSuffix, QStringLiteral("jpg"));
    const QImage picture = readJpeg(chosen + QStringLiteral(".jpg"));
    QCOMPARE(picture.size(), QSize(602, 564));
    // The panel's bevels: raised outside (light top-left, shadow bottom-right), lowered inside. The
    // memo covers the bottom row right of x = 2, as laid out.
    const QColor light = fx->circle()->palette().color(QPalette::Light);
    const QColor shadow = fx->circle()->palette().color(QPalette::Dark);
    for (const auto &[point, colour] : {std::pair{QPoint(0, 100), light}, {QPoint(100, 0), light}, {QPoint(601, 100), shadow},
                                        {QPoint(1, 563), shadow}, {QPoint(1, 100), shadow}, {QPoint(100, 1), shadow},
                                        {QPoint(600, 100), light}, {QPoint(100, 562), light}})
        QVERIFY2(near(picture.pixelColor(point), colour, 24),
                 qPrintable(QStringLiteral("(%1, %2) is %3").arg(point.x()).arg(point.y()).arg(picture.pixelColor(point).name())));
    // The background's white margin, left of the circle: picture (5, 150) lies at panel (7, 152).
    QVERIFY(picture.pixelColor(7, 152).lightness() > 240);
    // The magenta polygon halfway between the vertices of positions 0 and 1 (all scores 3).
    const QPoint middle = (QPoint(323, 184) + QPoint(367, 210)) / 2 + QPoint(2, 2);
    QVERIFY(colourAround(picture, middle, QColor(255, 0, 255), 60)); // chroma subsampling dulls it
    // A black vertex marker.
    QVERIFY(colourAround(picture, QPoint(323, 184) + QPoint(2, 2), Qt::black, 60));
}

void TestCapture::chartPictures()
{
    TForm1 &f = *fx->form;
    fx->prompts->saveAnswers << fx->resultsDir() + QStringLiteral("/detail.jpg") << fx->resultsDir() + QStringLiteral("/all.JPG");
    f.mmPlotSaveClick();
    QCOMPARE(fx->prompts->saveDialogs.last().fileName, f.appDir() + QStringLiteral("Results/Plot V 0042 Тест.jpg"));
    QCOMPARE(fx->prompts->saveDialogs.last().title, QStringLiteral("Запись гистограммы в jpg-файл"));
    const QImage detail = readJpeg(fx->resultsDir() + QStringLiteral("/detail.jpg"));
    QCOMPARE(detail.size(), QSize(415, 294));
    // The middle of statement 1's bar, in the trait colour green.
    const DetailChart *chart = fx->detailChart();
    const QPointF inChart = chart->chart()->mapToPosition(QPointF(1.5, 1), chart->series(u"SeriesChart"));
    const QPoint inPanel = chart->mapFromScene(inChart) + chart->pos();
    QVERIFY2(colourAround(detail, inPanel, QColor(0, 128, 0)), qPrintable(detail.pixelColor(inPanel).name()));

    fx->action("mmPlotAll")->trigger();
    QTest::qWait(100);
    f.mmPlotSaveClick();
    QCOMPARE(fx->prompts->saveDialogs.last().fileName, f.appDir() + QStringLiteral("Results/Plot All 0042 Тест.jpg"));
    QVERIFY(QFile::exists(fx->resultsDir() + QStringLiteral("/all.JPG.jpg")));
    const QImage overview = readJpeg(fx->resultsDir() + QStringLiteral("/all.JPG.jpg"));
    QCOMPARE(overview.size(), QSize(415, 294));
    QVERIFY(overview != detail);
}

void TestCapture::coveringWindowShows()
{
    TForm1 &f = *fx->form;
    QWidget cover(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
    cover.setAutoFillBackground(true);
    QPalette palette = cover.palette();
    palette.setColor(QPalette::Window, QColor(0, 0, 255));
    cover.setPalette(palette);
    const QPoint panel = fx->circle()->mapToGlobal(QPoint(0, 0));
    cover.setGeometry(QRect(panel + QPoint(100, 100), QSize(80, 60)));
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    QTest::qWait(200);
    fx->prompts->saveAnswers << fx->resultsDir() + QStringLiteral("/covered.jpg");
    f.mmSaveClick();
    const QImage picture = readJpeg(fx->resultsDir() + QStringLiteral("/covered.jpg"));
    QVERIFY(near(picture.pixelColor(140, 130), QColor(0, 0, 255)));
    QVERIFY(!near(picture.pixelColor(300, 130), QColor(0, 0, 255)));
}

void TestCapture::cancelWritesNothing()
{
    TForm1 &f = *fx->form;
    fx->prompts->saveAnswers << QString() << QString() << QString();
    f.mmSaveClick();
    f.mmPlotSaveClick();
    f.mmAnalysisClick();
    QCOMPARE(QDir(fx->resultsDir()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(fx->prompts->errors.isEmpty());
}

void TestCapture::analysisFile()
{
    TForm1 &f = *fx->form;
    fx->grid()->moveTo(3, 13);
    fx->memo()->appendPlainText(QStringLiteral("Вывод: ☃"));
    const QString path = fx->resultsDir() + QStringLiteral("/analysis.rtf");
    fx->prompts->saveAnswers << path;
    fx->prompts->confirmAnswers << true; // written although "☃" becomes "?"
    f.mmAnalysisClick();
    QCOMPARE(fx->prompts->questions.size(), 1);
    QVERIFY2(fx->prompts->questions.first().contains(QStringLiteral("☃")), qPrintable(fx->prompts->questions.first()));
    const FileDialogSettings &dialog = fx->prompts->saveDialogs.last();
    QCOMPARE(dialog.title, QStringLiteral("Запись анализа факторов в rtf.файл"));
    QCOMPARE(dialog.fileName, f.appDir() + QStringLiteral("Results/0042 Тест.rtf"));
    QCOMPARE(dialog.filter, QStringLiteral("RTF Files (*.rtf)|*.rtf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("0042\r\n\xD2\xE5\xF1\xF2\r\n01.02.2003\r\nN \xE0\xED\xEA\xE5\xF2 = 1\r\n"));
    QVERIFY(bytes.endsWith("\r\n\xC2\xFB\xE2\xEE\xE4: ?"));
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(!bytes.contains("{\\rtf"));
    QVERIFY(!bytes.contains("\n\n"));
}

void TestCapture::unwritableTargetReported()
{
    TForm1 &f = *fx->form;
    const QString path = fx->dir.filePath(QStringLiteral("missing/x.jpg"));
    fx->prompts->saveAnswers << path;
    const QString code = fx->edit("ceCode")->text();
    f.mmSaveClick();
    QCOMPARE(fx->prompts->errors.size(), 1);
    QVERIFY(fx->prompts->errors.first().startsWith(QStringLiteral("Не удаётся создать файл ") + QDir::toNativeSeparators(path)));
    QCOMPARE(fx->edit("ceCode")->text(), code);
}

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
