// ZOLK Plot: the culture profile of a respondent or a group from enciphered result files.

#include "UnitPlot.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("zolk-plot"));
    app.setApplicationDisplayName(TForm1::applicationTitle());
    TForm1 form;
    form.showMaximized();
    return app.exec();
}
