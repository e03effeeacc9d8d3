#pragma once
// The commands under "Save" -> "Печать": the report, the blank questionnaire and the two pictures
// (the profile circle, the chart in front) on paper through the system's print dialog. The report and
// the questionnaire are drawn on the printer page by page as they are drawn into their PDFs; the
// copies the user asks for are made by the printer where it can, else drawn one after the other, each
// whole before the next. A failure is shown; nothing on screen or on disk changes.

#include "UserPrompts.h"

#include <QString>

#include <functional>

class ExportCommands;
class QMenu;
class QPagedPaintDevice;
class QPrinter;
class QWidget;

class PrintCommands
{
public:
    struct Window
    {
        QWidget *window = nullptr; // the dialogs' parent
        UserPrompts *prompts = nullptr;
        QWidget *circlePanel = nullptr;
        QWidget *chartPanel = nullptr;
        std::function<void(const QString &)> reportError;
    };

    // The report is the one exports writes as a PDF.
    PrintCommands(Window window, const ExportCommands &exports);

    // Adds the commands: "Печать" under "Save" (the report on Ctrl+P), and the questionnaire under
    // "Импорт", where it is reachable before anything is loaded.
    void addActions(QMenu *saveMenu, QMenu *importMenu);

    void printReport();
    void printQuestionnaire();
    void printCirclePicture();
    void printChartPicture();

private:
    // Draws copies of a document on the printer; false when it failed.
    using Document = std::function<bool(QPagedPaintDevice &device, int copies)>;
    // Asks for the printer with the system's dialog, then prints; the failure is shown.
    void print(const QString &documentName, const Document &document);
    void printPicture(QWidget *panel, const QString &documentName);

    Window m_window;
    const ExportCommands &m_exports;
};
