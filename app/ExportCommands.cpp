#include "ExportCommands.h"

#include "Exports.h"
#include "FileOutput.h"
#include "Questionnaire.h"
#include "RecentFolders.h"
#include "InfoCaptions.h"
#include "Report.h"
#include "ReportPack.h"
#include "ReportTitleDialog.h"
#include "ScoresTable.h"
#include "SegmentsTable.h"
#include "ScrinCap.h"
#include "Session.h"
#include "StatementCharts.h"
#include "TableFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace {

// The overview of all sixty statements drawn into the report, its proportions kept: drawn afresh from
// the profile, so that it bears its own title whatever the window's chart shows.
void paintOverview(const Profile &profile, double band, QPainter &painter, const QRectF &target)
{
    // Scores far off the scale (a damaged or hand-made file) would put coordinates into the PDF that
    // no reader can read: the chart draws them just beyond its edge, where its plot area cuts them off,
    // and scores that are no number at 0. The report's tables print them as they are.
    const auto bounded = [](double v) { return std::isfinite(v) ? std::clamp(v, -1.0, 6.5) : 0.0; };
    Profile shown = profile;
    for (double &score : shown.scores.ItemScores)
        score = bounded(score);
    shown.overallMean = bounded(shown.overallMean);
    OverviewChart chart(nullptr);
    chart.resize(560, 300);
    chart.showProfile(shown, std::isfinite(band) ? std::clamp(band, 0.0, 7.5) : 0.0);
    // A hidden widget gets its size only when shown: shown where no screen shows it, the chart takes
    // its size, lays out its axes, and places its marks on the laid-out plot area.
    chart.setAttribute(Qt::WA_DontShowOnScreen);
    chart.show();
    if (QGraphicsLayout *layout = chart.chart()->layout())
        layout->activate();
    QResizeEvent resized(chart.size(), chart.size());
    QCoreApplication::sendEvent(&chart, &resized);
    const QRectF source = chart.chart()->geometry();
    const qreal scale = std::min(target.width() / source.width(), target.height() / source.height());
    const QRectF fitted(target.left() + (target.width() - source.width() * scale) / 2, target.top(), source.width() * scale,
                        source.height() * scale);
    chart.scene()->render(&painter, fitted, source);
    painter.save();
    painter.setPen(QPen(QColor(170, 170, 170), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(fitted);
    painter.restore();
}

} // namespace

ExportCommands::ExportCommands(const Session &session, Window window)
    : m_session(session)
    , m_window(std::move(window))
{
    m_dialog.overwritePrompt = true;
}

QString ExportCommands::startFolder(const QString &kind) const
{
    return RecentFolders::start(kind, Exports::resultsFolder(m_window.appDir));
}

QString ExportCommands::proposed(const QString &kind, const QString &prefix, const QString &extension) const
{
    const QString stem = Exports::profileStem(m_session.shownProfile());
    const QString folder = startFolder(kind);
    return stem.isEmpty() ? folder + u'/' + prefix.trimmed() + extension
                          : Exports::proposedName(folder, prefix, stem, extension);
}

QString ExportCommands::ask(const QString &kind)
{
    m_dialog.initialDir = startFolder(kind);
    const QString chosen = m_window.prompts->saveFile(m_window.window, m_dialog);
    if (!chosen.isEmpty()) {
        m_dialog.fileName = chosen;
        RecentFolders::remember(kind, chosen);
    }
    return chosen;
}

void ExportCommands::showError(const QString &text)
{
    m_window.prompts->showError(m_window.window, m_window.caption, text);
}

void ExportCommands::report(const Outcome<> &written)
{
    if (!written && !written.cancelled())
        m_window.prompts->showError(m_window.window, m_window.caption, written.message());
}

void ExportCommands::savePicture(QWidget *panel, const QString &title, const QString &prefix)
{
    m_dialog.filter = QStringLiteral("JPG Files (*.jpg)|*.JPG");
    // A name typed without an extension becomes ".jpg" in the dialog, which then asks before it
    // replaces that file (Windows' dialog would otherwise add the filter's ".JPG").
    m_dialog.defaultSuffix = QStringLiteral("jpg");
    m_dialog.overwritePrompt = true;
    m_dialog.title = title;
    m_dialog.fileName = proposed(RecentFolders::pictures(), prefix, QStringLiteral(".jpg"));
    const QString chosen = ask(RecentFolders::pictures());
    if (chosen.isEmpty())
        return;
    // The part of the window that the dialog covered is drawn again before the screen is read.
    QCoreApplication::processEvents();
    report(Exports::writePicture(Exports::jpegFileName(chosen), ScrinCap::CapturePanel(panel)));
}

void ExportCommands::saveCirclePicture(QWidget *circlePanel)
{
    savePicture(circlePanel, QStringLiteral("Запись общего профиля в jpg-файл"), QStringLiteral("Image "));
}

void ExportCommands::saveChartPicture(QWidget *chartPanel)
{
    const QString prefix =
        m_session.chartInFront() == Session::Chart::Detail ? QStringLiteral("Plot V ") : QStringLiteral("Plot All ");
    savePicture(chartPanel, QStringLiteral("Запись гистограммы в jpg-файл"), prefix);
}

void ExportCommands::saveAnalysis(const QString &memoText)
{
    m_dialog.title = QStringLiteral("Запись анализа факторов в rtf.файл");
    m_dialog.fileName = proposed(RecentFolders::texts(), QString(), QStringLiteral(".rtf"));
    m_dialog.filter = QStringLiteral("RTF Files (*.rtf)|*.rtf");
    m_dialog.defaultSuffix.clear(); // the name is used as chosen
    const QString chosen = ask(RecentFolders::texts());
    if (chosen.isEmpty())
        return;
    const QString &text = memoText;
    // windows-1251 has no place for some characters (a name typed with Latin diacritics, say): the
    // user hears which before they become "?".
    if (const QString lost = Exports::unencodableCharacters(text); !lost.isEmpty()) {
        const QString question = QStringLiteral("В тексте есть знаки, которых нет в кодировке windows-1251: %1\n"
                                                "В файле они будут записаны как «?». Записать файл?")
                                     .arg(lost);
        if (!m_window.prompts->confirm(m_window.window, QStringLiteral("Analysis"), question))
            return;
    }
    report(Exports::writeAnalysis(chosen, text));
}

QString ExportCommands::choose(const QString &kind, const QString &title, const QString &filter, const QString &suffix,
                               const QString &prefix, const QString &extension)
{
    m_dialog.title = title;
    m_dialog.filter = filter;
    m_dialog.defaultSuffix = suffix;
    m_dialog.overwritePrompt = true;
    m_dialog.fileName = proposed(kind, prefix, extension);
    return ask(kind);
}

ReportInput ExportCommands::reportInput(const ReportTitle &title) const
{
    ReportInput input;
    input.profile = m_session.shownProfile();
    input.respondents = m_session.respondents();
    input.band = m_session.band();
    input.title = title;
    input.title.group = input.profile.group;
    input.overviewChart = overviewPainter(input.profile, input.band);
    if (const Profile *reference = m_session.reference())
        input.reference = *reference;
    input.referenceName = m_session.referenceName();
    if (m_window.tablePages)
        input.tablePages = m_window.tablePages();
    return input;
}

ReportInput::ChartPainter ExportCommands::overviewPainter(const Profile &profile, double band)
{
    return [profile, band](QPainter &painter, const QRectF &target) { paintOverview(profile, band, painter, target); };
}

void ExportCommands::saveReport()
{
    // The title block first: the consultant fills it once, and a cancel there cancels the report.
    ReportTitle proposed = ReportTitleSettings::load();
    proposed.group = m_session.profile().group;
    const std::optional<ReportTitle> title = m_window.prompts->reportTitle(m_window.window, proposed);
    if (!title)
        return;
    ReportTitleSettings::remember(*title);
    const QString chosen = choose(RecentFolders::reports(), QStringLiteral("Запись отчёта в pdf-файл"), QStringLiteral("PDF Files (*.pdf)|*.pdf"),
                                  QStringLiteral("pdf"), QStringLiteral("Report "), QStringLiteral(".pdf"));
    if (chosen.isEmpty())
        return;
    report(Report::write(Exports::withExtension(chosen, QStringLiteral(".pdf")), reportInput(*title)));
}

void ExportCommands::saveScores()
{
    // A workbook unless the user chooses a CSV name: only a workbook keeps a code "0106" as text in
    // every spreadsheet.
    const QString chosen = choose(RecentFolders::tables(), QStringLiteral("Запись оценок в файл Excel или CSV"),
                                  QStringLiteral("Excel Workbook (*.xlsx)|*.xlsx|CSV Files (*.csv)|*.csv"), QStringLiteral("xlsx"),
                                  QStringLiteral("Scores "), QStringLiteral(".xlsx"));
    if (chosen.isEmpty())
        return;
    const bool csv = chosen.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    const QString name = csv ? chosen : Exports::withExtension(chosen, QStringLiteral(".xlsx"));
    const Profile &shown = m_session.shownProfile();
    const QString folder = shown.group ? shown.source : QFileInfo(shown.source).absolutePath();
    report(TableFile::write(name, ScoresTable::table({{shown, QString()}}, m_session.reference(), m_session.referenceName(),
                                                     InfoCaptions::forFolder(folder))));
}

void ExportCommands::saveReportPack(const Profile &group)
{
    if (!group.members || group.respondentCount() == 0)
        return;
    // The splits that make departments: the information lines under their captions, and the
    // sub-folders of a folder of departments.
    const Questionnaire::Captions captions = Questionnaire::storedCaptions();
    QList<PackSplitChoice> choices;
    using GroupArithmetic::SplitBy;
    for (SplitBy by : {SplitBy::Info1, SplitBy::Info2, SplitBy::Info3, SplitBy::Info4, SplitBy::Folder}) {
        const qsizetype segments = GroupArithmetic::split(*group.members, by).size();
        if (segments < 2)
            continue;
        const QString caption = by == SplitBy::Folder ? QStringLiteral("Подпапки") : captions[std::size_t(by)];
        choices.append({by, caption, segments});
    }
    if (choices.isEmpty()) {
        showError(QStringLiteral("Группу не на что разделить: у всех анкет одни и те же сведения, подпапок нет."));
        return;
    }
    PackSplit proposedSplit;
    proposedSplit.by = choices.constFirst().by;
    proposedSplit.minimum = SegmentsTable::DefaultMinimum;
    for (const PackSplitChoice &choice : choices)
        if (choice.by == SplitBy::Folder)
            proposedSplit.by = SplitBy::Folder; // a folder of departments is split by them
    const std::optional<PackSplit> split = m_window.prompts->packSplit(m_window.window, choices, proposedSplit);
    if (!split)
        return;

    ReportTitle proposedTitle = ReportTitleSettings::load();
    proposedTitle.group = true;
    const std::optional<ReportTitle> title = m_window.prompts->reportTitle(m_window.window, proposedTitle);
    if (!title)
        return;
    ReportTitleSettings::remember(*title);

    ReportPack::Options options;
    options.by = split->by;
    options.minimum = split->minimum;
    options.band = m_session.band();
    options.title = *title;
    options.chart = &ExportCommands::overviewPainter;
    const ReportPack::Plan plan = ReportPack::plan(group, options);
    if (plan.reports.size() < 2) {
        showError(QStringLiteral("Ни одно подразделение не набирает %1 анкет (или его можно было бы вычислить по "
                                            "остальным): отчётов по подразделениям нет.")
                                 .arg(std::max(options.minimum, SegmentsTable::LowestMinimum)));
        return;
    }

    const QString folder = m_window.prompts->chooseFolder(m_window.window, QStringLiteral("Папка для отчётов по подразделениям"),
                                                          startFolder(RecentFolders::reports()));
    if (folder.isEmpty())
        return;
    RecentFolders::remember(RecentFolders::reports(), QDir(folder).absolutePath() + u'/');
    QStringList present;
    for (const ReportPack::PlannedReport &report : plan.reports)
        if (QFileInfo::exists(QDir(folder).filePath(report.fileName)))
            present << report.fileName;
    if (!present.isEmpty()) {
        const QString question = QStringLiteral("В папке %1 уже есть файлы с этими именами (%2): %3\nЗаменить их?")
                                     .arg(QDir::toNativeSeparators(folder))
                                     .arg(present.size())
                                     .arg(present.mid(0, 10).join(QStringLiteral(", ")) + (present.size() > 10 ? QStringLiteral(" …") : QString()));
        if (!m_window.prompts->confirm(m_window.window, QStringLiteral("Отчёты по подразделениям"), question))
            return;
    }

    const qsizetype total = plan.reports.size();
    QProgressDialog progress(QStringLiteral("Отчёты по подразделениям: %1 файлов…").arg(total), QStringLiteral("Отмена"), 0,
                             int(total), m_window.window);
    progress.setObjectName(QStringLiteral("packProgress"));
    progress.setWindowTitle(QStringLiteral("Отчёты по подразделениям"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setValue(0);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const Outcome<ReportPack::Written> written =
        ReportPack::write(folder, plan, group, options, [&progress](qsizetype done, qsizetype) {
            progress.setValue(int(done));
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    QGuiApplication::restoreOverrideCursor();
    progress.reset();
    if (!written) {
        showError(written.message());
        return;
    }
    QString summary = written->cancelled
                          ? QStringLiteral("Остановлено: записано отчётов %1 из %2").arg(written->files.size()).arg(total)
                          : QStringLiteral("Записано отчётов: %1 (вся группа и подразделений: %2)").arg(total).arg(total - 1);
    summary += QStringLiteral("\nПапка: %1").arg(QDir::toNativeSeparators(folder));
    if (plan.leftOut > 0)
        summary += QStringLiteral("\nБез отчёта: подразделений %1 (меньше %2 анкет, или по ним можно было бы вычислить такое).")
                       .arg(plan.leftOut)
                       .arg(std::max(options.minimum, SegmentsTable::LowestMinimum));
    m_window.prompts->showInformation(m_window.window, QStringLiteral("Отчёты по подразделениям"), summary);
}
