// ZOLK Plot: the culture profile of a respondent or a group from enciphered result files.

#include "Application.h"
#include "ScreenFit.h"
#include "TemporaryFiles.h"
#include "UnitPlot.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStyle>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Application::configure(app);
    TemporaryFiles::removeLeftovers();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Профиль организационной культуры по файлам результатов (.cry)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("Файл результатов (.cry), открываемый как «Data», или папка, открываемая как «Group»."),
                                 QStringLiteral("[file]"));
    const QCommandLineOption archive(QStringLiteral("archive"), QStringLiteral("Файл архива опросов (вместо заданного в настройках)."),
                                     QStringLiteral("FILE"));
    parser.addOption(archive);
    parser.process(app);

    TForm1::Options options;
    options.archivePath = parser.value(archive);
    TForm1 form(std::move(options));
    // Within the screen also where no window manager maximizes it.
    // The client scrolls if need be, with room for its vertical scroll bar.
    ScreenFit::resize(&form, form.size() + QSize(form.style()->pixelMetric(QStyle::PM_ScrollBarExtent), 0));
    form.showMaximized();
    // A file or folder given on the command line (by the file manager, by a file association) opens
    // once the window is up, exactly as the menu commands would open it.
    if (const QStringList paths = parser.positionalArguments(); !paths.isEmpty())
        QTimer::singleShot(0, &form, [&form, path = paths.constFirst()] { form.openPath(path); });
    return app.exec();
}
