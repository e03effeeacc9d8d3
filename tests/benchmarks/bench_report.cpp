// Report packs and start-up, each beside its baseline in one run:
//  - a pack of 50 departments of 100,000 members (the whole group and 50 department reports, each
//    with its comparison page and its overview chart) against the group build and 51 single reports
//    of the whole group: the pack within 1.2 times that;
//  - the program's start with a sample shown against a bare Qt window's and a bare window's with one
//    line of text, each in a process of its own (this program started again as the one or the other,
//    so all three load the same libraries), timed to the first paint: the aim is 1.3 times the bare
//    window.
//   bench_report   (ZOLK_BENCH_MEMBERS=10000 chooses another size)
// ZOLK_BENCH_PHASES=1 has the program's start tell its phases on standard error:
//   bench_report --start program FILE.cry

#include "Application.h"
#include "ExportCommands.h"
#include "ProfileLoader.h"
#include "ReportPack.h"
#include "TestSupport.h"
#include "UnitPlot.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int Departments = 50;

// The members of 50 departments interleaved, every one a little different, held in memory.
Profile generatedGroup(int members)
{
    auto table = std::make_shared<MemberTable>();
    table->reserve(members);
    for (int k = 0; k < members; ++k) {
        RespondentHeader header;
        header.code = QString::number(k);
        header.info = {QStringLiteral("Отдел %1").arg(k % Departments + 1), QString(), QString(), QString()};
        IndexScores indices{};
        ItemScores items{};
        for (int i = 0; i < Resource::IndexCount; ++i)
            indices[std::size_t(i)] = 1.0 + (k + i) % 40 * 0.1;
        for (int s = 0; s < Resource::StatementCount; ++s)
            items[std::size_t(s)] = 1.0 + (k + s) % 41 * 0.1;
        table->append(QStringLiteral("m%1.cry").arg(k), header, indices, items);
    }
    return ProfileLoader::groupProfile(table, QStringLiteral("/firm/"));
}

// Tells the parent on standard output, once, that the window is up: it has been painted, the sample
// (if any) has been shown, and the event loop has nothing left to do; with it the milliseconds since
// the application object was made. Time spent after that (closing the window, freeing it, the
// library's own teardown) is not start-up and is not measured.
class ReadyWatch : public QObject
{
public:
    ReadyWatch()
    {
        m_since.start();
        qApp->installEventFilter(this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, &ReadyWatch::check);
    }
    void setWindow(QWidget *window) { m_window = window; }
    void setLoaded() { m_loaded = true; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_window && watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == m_window)
            m_painted = true;
        return false;
    }

private:
    void check()
    {
        if (!m_painted || !m_loaded || m_told)
            return;
        m_told = true;
        std::printf("ready %.2f\n", m_since.nsecsElapsed() / 1e6);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

    QWidget *m_window = nullptr;
    QElapsedTimer m_since;
    bool m_painted = false;
    bool m_loaded = false;
    bool m_told = false;
};

// The child processes of the start-up rows: a bare window, a bare window with one line of text, or
// the program with a sample, shown, reported ready once painted, then closed.
int startChild(int argc, char *argv[], const QString &mode, const QString &sample)
{
    QApplication app(argc, argv);
    if (mode != QLatin1String("program")) {
        QWidget window;
        window.resize(1032, 776);
        if (mode == QLatin1String("text"))
            new QLabel(QStringLiteral("Код"), &window);
        ReadyWatch watch;
        watch.setWindow(&window);
        watch.setLoaded();
        window.show();
        return app.exec();
    }
    ReadyWatch watch;
    QElapsedTimer phase;
    phase.start();
    Application::configure(app);
    const qint64 configured = phase.elapsed();
    TForm1 form;
    const qint64 built = phase.elapsed();
    watch.setWindow(&form);
    form.showMaximized();
    const qint64 shown = phase.elapsed();
    QTimer::singleShot(0, &form, [&form, &watch, sample, &phase, configured, built, shown] {
        form.openPath(sample);
        watch.setLoaded();
        if (qEnvironmentVariableIsSet("ZOLK_BENCH_PHASES"))
            std::fprintf(stderr, "configure %lld ms, window %lld ms, shown %lld ms, sample %lld ms\n", configured, built - configured,
                         shown - built, phase.elapsed() - shown);
    });
    return app.exec();
}

double medianOf(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values.at(values.size() / 2);
}

} // namespace

class BenchReport : public QObject
{
    Q_OBJECT
private slots:
    void pack();
    void startUp();
};

void BenchReport::pack()
{
    const int members = qEnvironmentVariableIntValue("ZOLK_BENCH_MEMBERS") > 0 ? qEnvironmentVariableIntValue("ZOLK_BENCH_MEMBERS")
                                                                                : 100000;
    const Profile generated = generatedGroup(members);
    QElapsedTimer timer;

    // The baseline: the group build and 51 reports of the group.
    timer.start();
    const Profile group = ProfileLoader::groupProfile(generated.members, generated.source);
    const double build = timer.nsecsElapsed() / 1e6;
    ReportPack::Options options;
    options.by = GroupArithmetic::SplitBy::Info1;
    options.chart = &ExportCommands::overviewPainter;
    const ReportPack::PlannedReport whole{QString(), QString(), group, group.respondentCount()};
    // One report: the fastest of three, the first of which also loads the fonts.
    double single = 0;
    for (int k = 0; k < 3; ++k) {
        timer.start();
        const Outcome<QByteArray> one = Report::render(ReportPack::reportInput(whole, group, options));
        const double milliseconds = timer.nsecsElapsed() / 1e6;
        QVERIFY(one);
        single = k == 0 ? milliseconds : std::min(single, milliseconds);
    }
    const double baseline = build + (Departments + 1) * single;

    // The pack: planned (split, anonymity, the departments' profiles) and written.
    QTemporaryDir folder;
    timer.start();
    const ReportPack::Plan plan = ReportPack::plan(group, options);
    const double planned = timer.nsecsElapsed() / 1e6;
    const Outcome<ReportPack::Written> written = ReportPack::write(folder.path(), plan, group, options);
    const double pack = build + timer.nsecsElapsed() / 1e6;
    QVERIFY2(written, qPrintable(written.message()));
    QCOMPARE(written->files.size(), Departments + 1);
    qInfo("%d members: group build %.1f ms, one report %.1f ms; baseline (build + %d reports) %.0f ms", members, build, single,
          Departments + 1, baseline);
    qInfo("pack of %d departments: %.0f ms (of which the plan %.1f ms), %.3f times the baseline (%s 1.2)", Departments, pack,
          planned, pack / baseline, pack / baseline <= 1.2 ? "within" : "NOT within");
}

void BenchReport::startUp()
{
    QTemporaryDir dir;
    const QString sample = TestSupport::writeResultFile(dir.path(), QStringLiteral("sample.cry"), TestSupport::Respondent());
    // Two times of each child: from the start of its process to its "ready", the time a user waits
    // for the window; and from its application object to "ready", the part the window's own work
    // decides (the process start and Qt's set-up before it are the same for all three).
    struct Times {
        QList<double> whole, ownWork;
    };
    const auto timeChild = [&](const QString &mode, Times &times) {
        QProcess child;
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start"), mode, sample});
        QByteArray output;
        while (!output.contains('\n') && child.waitForReadyRead(60000))
            output += child.readAllStandardOutput();
        const double whole = timer.nsecsElapsed() / 1e6;
        child.waitForFinished(60000);
        const QList<QByteArray> words = output.trimmed().split(' ');
        bool ok = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 && words.size() == 2 && words.at(0) == "ready";
        const double ownWork = ok ? words.at(1).toDouble(&ok) : 0.0;
        if (!ok)
            return false;
        times.whole << whole;
        times.ownWork << ownWork;
        return true;
    };
    // In turn, so that a busy moment of the machine falls on all three.
    Times bare, text, program;
    for (int k = 0; k < 9; ++k) {
        QVERIFY(timeChild(QStringLiteral("bare"), bare));
        QVERIFY(timeChild(QStringLiteral("text"), text));
        QVERIFY(timeChild(QStringLiteral("program"), program));
    }
    const double ratio = medianOf(program.whole) / medianOf(bare.whole);
    qInfo("start-up to the first paint, median of 9: bare Qt window %.1f ms, with one line of text %.1f ms, the program with a "
          "sample %.1f ms: %.2f times the bare window (%s 1.3), %.2f times the window with text",
          medianOf(bare.whole), medianOf(text.whole), medianOf(program.whole), ratio, ratio <= 1.3 ? "within" : "NOT within",
          medianOf(program.whole) / medianOf(text.whole));
    qInfo("of which after the application object: bare %.1f ms, with text %.1f ms, the program %.1f ms", medianOf(bare.ownWork),
          medianOf(text.ownWork), medianOf(program.ownWork));
}

int main(int argc, char *argv[])
{
    if (argc == 4 && QByteArrayView(argv[1]) == "--start")
        return startChild(1, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QApplication app(argc, argv);
    BenchReport bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_report.moc"
