#include "PrintCommands.h"

#include "CaptionsDialog.h"
#include "ExportCommands.h"
#include "FileOutput.h"
#include "QuestionnaireForm.h"
#include "Report.h"
#include "ReportTitleDialog.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <algorithm>

namespace {

// The painters of the report and the questionnaire work in points.
constexpr int PointsPerInch = 72;
// The pictures are drawn at three times their size on the screen, sharp on paper.
constexpr int PictureScale = 3;

} // namespace

PrintCommands::PrintCommands(Window window, const ExportCommands &exports)
    : m_window(std::move(window))
    , m_exports(exports)
{
}

void PrintCommands::addActions(QMenu *saveMenu, QMenu *importMenu)
{
    QMenu *menu = saveMenu->addMenu(QStringLiteral("Пе&чать"));
    menu->setObjectName(QStringLiteral("mmPrintMenu"));
    menu->menuAction()->setObjectName(QStringLiteral("mmPrint"));
    const auto add = [](QMenu *to, const QString &text, const char *name, auto slot) {
        QAction *action = to->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        QObject::connect(action, &QAction::triggered, to, slot);
        return action;
    };
    QAction *report = add(menu, QStringLiteral("&Отчёт…"), "mmPrintReport", [this] { printReport(); });
    report->setShortcut(QKeySequence::Print);
    add(menu, QStringLiteral("&Профиль…"), "mmPrintImage", [this] { printCirclePicture(); });
    add(menu, QStringLiteral("&Диаграмма…"), "mmPrintPlot", [this] { printChartPicture(); });
    add(menu, QStringLiteral("&Анкета…"), "mmPrintQuestionnaire", [this] { printQuestionnaire(); });
    if (importMenu)
        add(importMenu, QStringLiteral("&Печать анкеты…"), "mmImportPrintQuestionnaire", [this] { printQuestionnaire(); });
}

void PrintCommands::print(const QString &documentName, const Document &document)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    // The pages keep their own margins, as in the PDF; the copies come whole, one after the other.
    printer.setFullPage(true);
    printer.setCollateCopies(true);
    if (!m_window.prompts->choosePrinter(m_window.window, printer, QStringLiteral("Печать: %1").arg(documentName)))
        return;
    // A printer that cannot make copies itself (a PDF file, some drivers) gets them drawn.
    int copies = 1;
    if (!printer.supportsMultipleCopies()) {
        copies = std::max(printer.copyCount(), 1);
        printer.setCopyCount(1);
    }
    // Printed to a file, the pages go to a temporary file first: the chosen file is replaced only
    // once all of it is written, and stays as it was when printing fails (a full disk).
    const QString target = printer.outputFileName();
    QTemporaryFile pages;
    if (!target.isEmpty()) {
        if (!pages.open()) {
            m_window.reportError(FileOutput::cannotCreateMessage(target) + u'\n' + pages.errorString());
            return;
        }
        pages.close();
        printer.setOutputFileName(pages.fileName());
    }
    const QString failed = QStringLiteral("Не удалось напечатать «%1» на принтере «%2».")
                               .arg(documentName, target.isEmpty() ? printer.printerName() : target);
    if (!document(printer, copies) || printer.printerState() == QPrinter::Error) {
        m_window.reportError(failed);
        return;
    }
    if (!target.isEmpty()) {
        if (!pages.open()) {
            m_window.reportError(failed + u'\n' + pages.errorString());
            return;
        }
        if (const Outcome<> written = FileOutput::write(target, pages.readAll()); !written)
            m_window.reportError(written.message());
    }
}

void PrintCommands::printReport()
{
    // The title block first, as for the PDF: a cancel there cancels the printing.
    ReportTitle proposed = ReportTitleSettings::load();
    proposed.group = m_exports.reportInput().profile.group;
    const std::optional<ReportTitle> title = m_window.prompts->reportTitle(m_window.window, proposed);
    if (!title)
        return;
    ReportTitleSettings::remember(*title);
    const ReportInput input = m_exports.reportInput(*title);
    print(QStringLiteral("Отчёт"), [&input](QPagedPaintDevice &device, int copies) {
        static_cast<QPrinter &>(device).setResolution(PointsPerInch);
        return Report::paint(device, input, copies).ok();
    });
}

void PrintCommands::printQuestionnaire()
{
    CaptionsDialog::ask(m_window.window, [this] {
        print(Questionnaire::title(), [](QPagedPaintDevice &device, int copies) {
            static_cast<QPrinter &>(device).setResolution(PointsPerInch);
            return QuestionnaireForm::paint(device, Questionnaire::storedCaptions(), Questionnaire::storedAsksName(), copies).ok();
        });
    });
}

void PrintCommands::printPicture(QWidget *panel, const QString &documentName)
{
    // The panel as it shows, drawn afresh at a higher resolution than the screen's.
    QImage picture(panel->size() * PictureScale, QImage::Format_RGB32);
    picture.setDevicePixelRatio(PictureScale);
    picture.fill(Qt::white);
    panel->render(&picture);
    print(documentName, [&picture](QPagedPaintDevice &device, int copies) {
        QPainter painter;
        if (!painter.begin(&device))
            return false;
        // Fitted into the page within margins of half an inch, its proportions kept, at the top.
        const qreal margin = device.logicalDpiX() / 2.0;
        const QRectF area(margin, margin, device.width() - 2 * margin, device.height() - 2 * margin);
        const QSizeF size = QSizeF(picture.size()).scaled(area.size(), Qt::KeepAspectRatio);
        const QRectF target(area.left() + (area.width() - size.width()) / 2, area.top(), size.width(), size.height());
        for (int copy = 0; copy < copies; ++copy) {
            if (copy > 0)
                device.newPage();
            painter.drawImage(target, picture);
        }
        return painter.end();
    });
}

void PrintCommands::printCirclePicture()
{
    printPicture(m_window.circlePanel, QStringLiteral("Профиль"));
}

void PrintCommands::printChartPicture()
{
    printPicture(m_window.chartPanel, QStringLiteral("Диаграмма"));
}
