// Report packs and start-up, each beside its baseline in one run:
//  - a pack of 50 departments of 100,000 members (the whole group and 50 department reports, each
//    with its comparison page and its overview chart) against the group build and 51 single reports
//    of the whole group: the pack within 1.2 times that;
//  - the program's start with a sample shown against a bare Qt window's, each in a process of its
//    own (this program started again as the one or the other): within 1.3 times.
//   bench_report   (ZOLK_BENCH_MEMBERS=10000 chooses another size)
// ZOLK_BENCH_PHASES=1 has the program's start tell its phases on standard error:
//   bench_report --start program FILE.cry

#include "Application.h"
#include "ExportCommands.h"
#include "ProfileLoader.h"
#include "ReportPack.h"
#include "TestSupport.h"
#include "UnitPlot.h"

#include <QApplication>
#include <QElapsedTimer>
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

// The child processes of the start-up rows: a bare window, or the program with a sample, shown and
// then closed at once.
int startChild(int argc, char *argv[], const QString &mode, const QString &sample)
{
    QApplication app(argc, argv);
    if (mode == QLatin1String("bare")) {
        QWidget window;
        window.resize(1032, 776);
        window.show();
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
        return app.exec();
    }
    QElapsedTimer phase;
    phase.start();
    Application::configure(app);
    const qint64 configured = phase.elapsed();
    TForm1 form;
    const qint64 built = phase.elapsed();
    form.showMaximized();
    const qint64 shown = phase.elapsed();
    QTimer::singleShot(0, &form, [&form, sample, &phase, configured, built, shown] {
        form.openPath(sample);
        if (qEnvironmentVariableIsSet("ZOLK_BENCH_PHASES"))
            std::fprintf(stderr, "configure %lld ms, window %lld ms, shown %lld ms, sample %lld ms\n", configured, built - configured,
                         shown - built, phase.elapsed() - shown);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
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
    const auto timeChild = [&](const QString &mode) {
        QProcess child;
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start"), mode, sample});
        child.waitForFinished(60000);
        const double milliseconds = timer.nsecsElapsed() / 1e6;
        return child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 ? milliseconds : -1.0;
    };
    // In turn, so that a busy moment of the machine falls on both.
    QList<double> bare, program;
    for (int k = 0; k < 7; ++k) {
        bare << timeChild(QStringLiteral("bare"));
        program << timeChild(QStringLiteral("program"));
        QVERIFY(bare.last() > 0 && program.last() > 0);
    }
    const double ratio = medianOf(program) / medianOf(bare);
    qInfo("start-up, median of 7: bare Qt window %.0f ms, the program with a sample %.0f ms: %.2f times (%s 1.3)",
          medianOf(bare), medianOf(program), ratio, ratio <= 1.3 ? "within" : "NOT within");
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
