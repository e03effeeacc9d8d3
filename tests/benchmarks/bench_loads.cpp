// Memory of the main window over many loads: two result files loaded alternately through "Data" as
// a user loads them on an X display. The pointer clicks "Data" in the menu bar, the system's file
// dialog is shown and painted, the file's name is typed into it (its completer popping up) and Enter
// is pressed; the clicks and keys go through the X server (xdotool), so the program sees what it
// sees of a user. Reports the heap in use, the resident memory and the objects the window owns as
// it goes, then the growth per load. Run by hand, on a display nobody else is typing on:
//   xvfb-run -a -s "-screen 0 1280x1024x24" bench_loads [LOADS]     (1,000 loads unless told)

#include "TestSupport.h"
#include "UnitPlot.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

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

bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral("xdotool"), arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

struct Figures
{
    long long heap = 0;
    long long resident = 0;
    long long objects = 0;
    long long detailItems = 0;
    long long overviewItems = 0;
};

// The user: acts through the X server from its own thread and asks the window's thread what is on
// screen, as a user looks before the next click.
class User
{
public:
    User(TForm1 &form, QStringList names, QStringList codes) : m_form(form), m_names(std::move(names)), m_codes(std::move(codes)) {}

    // The loads; false, with a message, when the program did not answer as expected.
    bool run(int loads)
    {
        const auto [window, click] = onScreen<std::pair<WId, QPoint>>([this] {
            const QMenuBar *bar = m_form.menuBar();
            auto *open = m_form.findChild<QAction *>(QStringLiteral("mmOpen"));
            return std::pair{m_form.winId(), bar->mapTo(&m_form, bar->actionGeometry(open).center())};
        });
        std::printf("%8s %14s %12s %10s %12s %12s\n", "loads", "heap bytes", "resident kB", "objects", "detail items",
                    "overview items");
        Figures first; // at the first line, after the first loads have filled the caches
        int firstLoads = 0;
        for (int n = 1; n <= loads; ++n) {
            if (!xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(window),
                          QString::number(click.x()), QString::number(click.y()), QStringLiteral("click"), QStringLiteral("1")}))
                return fail(n, "xdotool could not click \"Data\"");
            if (!waitFor([this] { return dialogReady(); }))
                return fail(n, "the file dialog did not come up");
            if (!xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"), m_names[n % 2]}))
                return fail(n, "xdotool could not type the file name");
            // Enter; pressed again if the first one only closed the completer's list.
            const QString code = m_codes[n % 2];
            const auto loaded = [this, code] {
                return onScreen<bool>([this, code] {
                    return !QApplication::activeModalWidget()
                           && m_form.findChild<QLineEdit *>(QStringLiteral("ceCode"))->text() == code;
                });
            };
            bool done = false;
            for (int press = 0; press < 3 && !done; ++press) {
                xdotool({QStringLiteral("key"), QStringLiteral("Return")});
                done = waitFor(loaded, 3000);
            }
            if (!done)
                return fail(n, "the file typed into the dialog was not loaded");
            if (n == 10 || n % 100 == 0 || n == loads) {
                const Figures now = figures();
                std::printf("%8d %14lld %12lld %10lld %12lld %12lld\n", n, now.heap, now.resident, now.objects,
                            now.detailItems, now.overviewItems);
                std::fflush(stdout);
                if (firstLoads == 0) {
                    first = now;
                    firstLoads = n;
                } else if (n == loads) {
                    std::printf("per load from load %d to %d: heap %+lld bytes, resident %+.1f kB\n", firstLoads, n,
                                (now.heap - first.heap) / (n - firstLoads),
                                double(now.resident - first.resident) / (n - firstLoads));
                }
            }
        }
        const QString index = onScreen<QString>([this] {
            const auto *grid = m_form.findChild<QTableWidget *>(QStringLiteral("sgResF"));
            const QTableWidgetItem *cell = grid->item(1, 1);
            return cell ? cell->text() : QString();
        });
        std::printf("index 1 of the last profile: %s\n", qPrintable(index));
        return true;
    }

private:
    // Runs what on the window's thread and returns its result.
    template<typename Result, typename Function>
    Result onScreen(Function what)
    {
        Result result{};
        QMetaObject::invokeMethod(&m_form, [&] { result = what(); }, Qt::BlockingQueuedConnection);
        return result;
    }

    static bool waitFor(const std::function<bool()> &condition, int milliseconds = 10000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    // The file dialog is shown, painted and has the keyboard.
    bool dialogReady()
    {
        return onScreen<bool>([] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            return dialog && dialog->isVisible() && dialog->windowHandle() && dialog->windowHandle()->isExposed()
                   && QApplication::focusWidget() == dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        });
    }

    Figures figures()
    {
        return onScreen<Figures>([this] {
            const auto items = [this](const char *name) {
                return static_cast<long long>(m_form.findChild<QGraphicsView *>(QLatin1String(name))->scene()->items().size());
            };
            return Figures{TestSupport::heapInUse(), residentKilobytes(),
                           static_cast<long long>(m_form.findChildren<QObject *>().size()), items("chChart"), items("ChartAll")};
        });
    }

    static bool fail(int load, const char *what)
    {
        std::fprintf(stderr, "bench_loads: load %d: %s\n", load, what);
        return false;
    }

    TForm1 &m_form;
    const QStringList m_names; // typed into the dialog, which opens in their folder
    const QStringList m_codes; // the code the window shows once each file is loaded
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "bench_loads: needs an X display (the xcb platform), not %s\n", qPrintable(QGuiApplication::platformName()));
        return 2;
    }
    if (!xdotool({QStringLiteral("version")})) {
        std::fprintf(stderr, "bench_loads: needs xdotool (Debian package xdotool)\n");
        return 2;
    }
    const int loads = argc > 1 ? std::atoi(argv[1]) : 1000;
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Data"));
    QDir().mkpath(data);
    TestSupport::Respondent second = TestSupport::Respondent::uniform(3.5);
    second.code = QStringLiteral("0043");
    TestSupport::writeResultFile(data, QStringLiteral("a.cry"), TestSupport::Respondent());
    TestSupport::writeResultFile(data, QStringLiteral("b.cry"), second);
    TForm1::Options options;
    options.appDir = dir.path(); // "Data" opens in its Data folder
    TForm1 form(std::move(options));
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "bench_loads: the window was not shown\n");
        return 1;
    }

    User user(form, {QStringLiteral("b.cry"), QStringLiteral("a.cry")}, {QStringLiteral("0043"), QStringLiteral("0042")});
    bool passed = false;
    std::thread hand([&] {
        passed = user.run(loads);
        QMetaObject::invokeMethod(&app, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    });
    app.exec();
    hand.join();
    return passed ? 0 : 1;
}
