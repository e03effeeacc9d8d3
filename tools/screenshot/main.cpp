// Renders the main window with a sample profile and saves what the screen shows as a PNG.
// Usage: zolk-screenshot RESULT.cry OUTPUT.png [--overview] [--cell COLUMN ROW] [--delta VALUE] [--report OUT.pdf]
//                       [--group [--member N]]
// --group opens the folder of RESULT.cry as a group; --member N then shows its member N against the group.
// Used by scripts/screenshot.sh under Xvfb to make the README's pictures; --report also saves the
// PDF report of the profile.

#include "RealSpinEdit.h"
#include "ResultsGrid.h"
#include "UnitPlot.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// Answers the open dialog with the sample and prints any message instead of showing it.
class ScriptedPrompts final : public UserPrompts
{
public:
    ScriptedPrompts(QString file, QString save) : m_file(std::move(file)), m_save(std::move(save)) {}
    QString openFile(QWidget *, const FileDialogSettings &) override { return m_file; }
    QString saveFile(QWidget *, const FileDialogSettings &) override { return m_save; }
    void showError(QWidget *, const QString &, const QString &text) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool confirm(QWidget *, const QString &, const QString &) override { return true; }
    // The report's title block as a consultant would fill it.
    std::optional<ReportTitle> reportTitle(QWidget *, const ReportTitle &proposed) override
    {
        ReportTitle title = proposed;
        title.company = QStringLiteral("ООО «Северный ветер»");
        title.consultant = QStringLiteral("Анна Смирнова");
        title.surveyDate = QStringLiteral("март 2026");
        return title;
    }

private:
    QString m_file;
    QString m_save;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The report's title block is remembered in a folder of this run's, not in the user's settings.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    if (argc < 3) {
        std::fprintf(stderr, "usage: zolk-screenshot RESULT.cry OUTPUT.png [--overview] [--cell COLUMN ROW] [--delta VALUE]"
                             " [--report OUT.pdf]\n");
        return 2;
    }
    bool overview = false;
    int column = -1, row = -1;
    double delta = 0;
    QString report;
    bool group = false;
    int member = -1;
    for (int k = 3; k < argc; ++k) {
        const QByteArray arg(argv[k]);
        if (arg == "--overview")
            overview = true;
        else if (arg == "--cell" && k + 2 < argc)
            column = std::atoi(argv[++k]), row = std::atoi(argv[++k]);
        else if (arg == "--delta" && k + 1 < argc)
            delta = std::atof(argv[++k]);
        else if (arg == "--report" && k + 1 < argc)
            report = QString::fromLocal8Bit(argv[++k]);
        else if (arg == "--group")
            group = true;
        else if (arg == "--member" && k + 1 < argc)
            member = std::atoi(argv[++k]);
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    TForm1::Options options;
    options.prompts = std::make_unique<ScriptedPrompts>(QString::fromLocal8Bit(argv[1]), report);
    TForm1 form(std::move(options));
    form.showMaximized();
    int status = 1;
    QTimer::singleShot(500, &form, [&] {
        if (delta > 0)
            form.findChild<RealSpinEdit *>(QStringLiteral("seDelta"))->setValue(delta);
        if (group)
            form.mmGroupClick();
        else
            form.mmOpenClick();
        if (member >= 0)
            form.showMember(member);
        if (column >= 0)
            form.findChild<ResultsGrid *>(QStringLiteral("sgResF"))->moveTo(column, row);
        if (overview)
            form.mmPlotAllClick();
        QTimer::singleShot(800, &form, [&] {
            const QRect frame = form.frameGeometry();
            const QPixmap shot =
                QGuiApplication::primaryScreen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
            status = shot.save(output, "PNG") ? 0 : 1;
            if (!report.isEmpty())
                form.mmReportClick();
            app.quit();
        });
    });
    app.exec();
    return status;
}
