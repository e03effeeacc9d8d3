// Renders the main window with a sample profile and saves what the screen shows as a PNG.
// Usage: zolk-screenshot RESULT.cry OUTPUT.png [INDEX-CELL-COLUMN ROW]
// Used by scripts/screenshot.sh under Xvfb to make the README's picture.

#include "ResultsGrid.h"
#include "UnitPlot.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

// Answers the open dialog with the sample and prints any message instead of showing it.
class ScriptedPrompts final : public UserPrompts
{
public:
    explicit ScriptedPrompts(QString file) : m_file(std::move(file)) {}
    QString openFile(QWidget *, const FileDialogSettings &) override { return m_file; }
    QString saveFile(QWidget *, const FileDialogSettings &) override { return QString(); }
    void showError(QWidget *, const QString &, const QString &text) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }

private:
    QString m_file;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: zolk-screenshot RESULT.cry OUTPUT.png [COLUMN ROW]\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    TForm1::Options options;
    options.prompts = std::make_unique<ScriptedPrompts>(QString::fromLocal8Bit(argv[1]));
    TForm1 form(std::move(options));
    form.showMaximized();
    int status = 1;
    QTimer::singleShot(500, &form, [&] {
        form.mmOpenClick();
        if (argc >= 5)
            form.sgResF->setCurrentCell(QString::fromLocal8Bit(argv[4]).toInt(), QString::fromLocal8Bit(argv[3]).toInt());
        QTimer::singleShot(800, &form, [&] {
            const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
            status = shot.save(output, "PNG") ? 0 : 1;
            app.quit();
        });
    });
    app.exec();
    return status;
}
