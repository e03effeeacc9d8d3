// zolk-picture-check: drives the main window through its menus, grid and labels (found by object
// name) over every sample and the sample group, and saves each export into OUTPUT. Two builds'
// folders compare byte for byte, so that a change of the code that must not change what the
// consultant saves can be checked:  zolk-picture-check DATA OUTPUT
// Runs on the offscreen platform, where the panels are rendered as the screen would show them.

#include "UnitPlot.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

class Answers final : public UserPrompts
{
public:
    QString open;
    QString save;
    QString openFile(QWidget *, const FileDialogSettings &) override { return open; }
    QString saveFile(QWidget *, const FileDialogSettings &) override { return save; }
    void showError(QWidget *, const QString &, const QString &text) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool confirm(QWidget *, const QString &, const QString &) override { return true; }
    std::optional<ReportTitle> reportTitle(QWidget *, const ReportTitle &proposed) override { return proposed; }
};

template <typename T>
T *named(QWidget &window, const char *name)
{
    T *child = window.findChild<T *>(QString::fromLatin1(name));
    if (!child) {
        std::fprintf(stderr, "no %s\n", name);
        std::exit(1);
    }
    return child;
}

void clickCell(QWidget &window, int column, int row)
{
    auto *grid = named<QAbstractItemView>(window, "sgResF");
    const QRect rect = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

void clickLabel(QWidget &window, int tag)
{
    auto *label = window.findChild<QLabel *>(QStringLiteral("PlotLabel%1").arg(tag));
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: zolk-picture-check DATA OUTPUT\n");
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QDir data(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(out.path());

    QStringList inputs;
    for (const QString &name : data.entryList({QStringLiteral("*.cry")}, QDir::Files, QDir::Name))
        inputs << data.filePath(name);
    inputs << data.path() + QStringLiteral("/"); // the group

    for (const QString &input : std::as_const(inputs)) {
        auto answers = std::make_unique<Answers>();
        Answers *a = answers.get();
        TForm1::Options options;
        options.prompts = std::move(answers);
        TForm1 window(std::move(options));
        window.resize(1032, 776);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 1;
        const bool group = input.endsWith(u'/');
        const QString stem = group ? QStringLiteral("group") : QFileInfo(input).completeBaseName();
        a->open = group ? data.filePath(QStringLiteral("0101-balanced.cry")) : input;
        named<QAction>(window, group ? "mmGroup" : "mmOpen")->trigger();
        int n = 0;
        const auto save = [&](const char *action, const QString &what) {
            a->save = out.filePath(QStringLiteral("%1-%2-%3").arg(stem).arg(++n, 2, 10, QLatin1Char('0')).arg(what));
            QApplication::processEvents();
            named<QAction>(window, action)->trigger();
        };
        save("mmImage", QStringLiteral("image.jpg"));
        save("mmPlotSave", QStringLiteral("detail1.jpg"));
        save("mmAnalysis", QStringLiteral("memo1.rtf"));
        const int cells[][2] = {{1, 12}, {1, 7}, {3, 4}, {1, 1}, {3, 10}, {1, 13}, {3, 13}, {1, 3}};
        for (const auto &cell : cells) {
            clickCell(window, cell[0], cell[1]);
            save("mmPlotSave", QStringLiteral("detail-%1-%2.jpg").arg(cell[0]).arg(cell[1]));
            save("mmAnalysis", QStringLiteral("memo-%1-%2.rtf").arg(cell[0]).arg(cell[1]));
        }
        for (int tag : {0, 8, 14}) {
            clickLabel(window, tag);
            save("mmPlotSave", QStringLiteral("label-%1.jpg").arg(tag));
        }
        named<QDoubleSpinBox>(window, "seDelta")->setValue(0.21);
        save("mmImage", QStringLiteral("image-delta.jpg"));
        save("mmPlotSave", QStringLiteral("detail-delta.jpg"));
        named<QAction>(window, "mmPlotAll")->trigger();
        save("mmPlotSave", QStringLiteral("overview.jpg"));
        save("mmScores", QStringLiteral("scores.csv"));
    }
    return 0;
}
