// Memory of the main window over many loads: two result files loaded alternately through "Data",
// answered in the system's own file dialog as a user would, reporting the heap in use, the resident
// memory and the objects the window owns as it goes. Run by hand under a display:
//   xvfb-run bench_loads [LOADS]            (1,000 loads unless told)

#include "StatementCharts.h"
#include "ResultsGrid.h"
#include "TestSupport.h"
#include "UnitPlot.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>


namespace {

// Resident memory in kilobytes; 0 where /proc does not tell.
long long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const int loads = argc > 1 ? std::atoi(argv[1]) : 1000;
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Data"));
    QDir().mkpath(data);
    const QString files[2] = {TestSupport::writeResultFile(data, QStringLiteral("a.cry"), TestSupport::Respondent()),
                              TestSupport::writeResultFile(data, QStringLiteral("b.cry"), TestSupport::Respondent::uniform(3.5))};
    TForm1::Options options;
    options.appDir = dir.path();
    TForm1 form(std::move(options));
    form.show();
    const auto *detail = form.findChild<const DetailChart *>(QStringLiteral("chChart"));
    const auto *overview = form.findChild<const OverviewChart *>(QStringLiteral("ChartAll"));
    const auto *grid = form.findChild<const ResultsGrid *>(QStringLiteral("sgResF"));
    if (!detail || !overview || !grid) {
        std::fprintf(stderr, "the window has no chChart, ChartAll or sgResF\n");
        return 1;
    }

    // Answers each open dialog with the next file, typed into its name field.
    int n = 0;
    QTimer answer;
    answer.setInterval(1);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(files[n % 2]);
        static_cast<QDialog *>(dialog)->accept();
    });
    answer.start();

    std::printf("%8s %14s %12s %10s %12s %12s\n", "loads", "heap bytes", "resident kB", "objects", "detail items",
                "overview items");
    for (n = 1; n <= loads; ++n) {
        form.mmOpenClick();
        QCoreApplication::processEvents();
        if (n == 10 || n % 100 == 0 || n == loads)
            std::printf("%8d %14lld %12lld %10lld %12lld %12lld\n", n, TestSupport::heapInUse(), residentKilobytes(),
                        static_cast<long long>(form.findChildren<QObject *>().size()),
                        static_cast<long long>(detail->scene()->items().size()),
                        static_cast<long long>(overview->scene()->items().size()));
    }
    std::printf("index 1 of the last profile: %s\n", qPrintable(grid->cellText(1, 1)));
    return 0;
}
