// ZOLK Plot: the culture profile of a respondent or a group from enciphered result files.

#include "Application.h"
#include "UnitPlot.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Application::configure(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Профиль организационной культуры по файлам результатов (.cry)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    TForm1 form;
    form.showMaximized();
    return app.exec();
}
