#include "ArchiveCommands.h"

#include "AnalysisWindow.h"
#include "ArchiveDialog.h"
#include "NormsView.h"
#include "Questionnaire.h"
#include "ReportTitleDialog.h"
#include "SegmentsTable.h"
#include "SurveyArchive.h"
#include "TrendView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString caption()
{
    return QStringLiteral("Архив");
}

std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                                       QCoreApplication::applicationName());
}

const QString PathKey = QStringLiteral("Archive/Path");
const QString SectorKey = QStringLiteral("Archive/LastSector");

QAction *named(QAction *action, const char *name)
{
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// A survey date of the title block, as the consultant may have typed it.
QDate dateOf(const QString &text)
{
    for (const QString &format : {QStringLiteral("dd.MM.yyyy"), QStringLiteral("d.M.yyyy"), QStringLiteral("yyyy-MM-dd"),
                                  QStringLiteral("dd.MM.yy"), QStringLiteral("MM.yyyy")}) {
        const QDate date = QDate::fromString(text.trimmed(), format);
        if (date.isValid())
            return date;
    }
    return QDate();
}

} // namespace

ArchiveCommands::ArchiveCommands(Window window, QObject *parent)
    : QObject(parent), m_window(std::move(window)), m_askSurvey(&SurveyDialog::ask)
{
    setObjectName(QStringLiteral("archiveCommands"));
    m_fileDialog.filter = QStringLiteral("Архив опросов (*.zolkdb)|*.zolkdb|Все файлы (*)|*");
    m_fileDialog.defaultSuffix = QStringLiteral("zolkdb");
}

ArchiveCommands::~ArchiveCommands() = default;

QMenu *ArchiveCommands::buildMenu(QMenuBar *bar)
{
    QMenu *menu = bar->addMenu(QStringLiteral("А&рхив"));
    menu->setObjectName(QStringLiteral("mmArchiveMenu"));
    named(menu->menuAction(), "mmArchive");
    QAction *add = named(menu->addAction(QStringLiteral("&Добавить в архив…")), "mmArchiveAdd");
    named(menu->addAction(QStringLiteral("&Открыть архив…")), "mmArchiveOpen");
    menu->addSeparator();
    named(menu->addAction(QStringLiteral("&Экспорт…")), "mmArchiveExport");
    named(menu->addAction(QStringLiteral("&Импорт…")), "mmArchiveImport");
    menu->addSeparator();
    named(menu->addAction(QStringLiteral("&Файл архива…")), "mmArchiveFile");
    // Adding needs a group loaded.
    connect(menu, &QMenu::aboutToShow, add, [this, add] { add->setEnabled(m_window.group() != nullptr); });
    const auto hook = [this, menu](const char *name, void (ArchiveCommands::*command)()) {
        connect(menu->findChild<QAction *>(QString::fromLatin1(name)), &QAction::triggered, this, command);
    };
    hook("mmArchiveAdd", &ArchiveCommands::addToArchive);
    hook("mmArchiveOpen", &ArchiveCommands::openArchive);
    hook("mmArchiveExport", &ArchiveCommands::exportArchive);
    hook("mmArchiveImport", &ArchiveCommands::importArchive);
    hook("mmArchiveFile", &ArchiveCommands::chooseArchiveFile);
    return menu;
}

QString ArchiveCommands::storedPath()
{
    return settings()->value(PathKey).toString();
}

void ArchiveCommands::storePath(const QString &path)
{
    settings()->setValue(PathKey, path);
}

QString ArchiveCommands::archivePath() const
{
    if (!m_window.archivePath.isEmpty())
        return m_window.archivePath;
    const QString stored = storedPath();
    return stored.isEmpty() ? SurveyArchive::defaultPath() : stored;
}

SurveyArchive *ArchiveCommands::archive()
{
    if (m_archive)
        return m_archive.get();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(archivePath());
    QApplication::restoreOverrideCursor();
    if (!opened) {
        m_window.reportError(opened.message());
        return nullptr;
    }
    m_archive = std::move(*opened);
    return m_archive.get();
}

SurveyDetails ArchiveCommands::proposal(const Profile &group) const
{
    const ReportTitle title = ReportTitleSettings::load();
    SurveyDetails details;
    details.client = title.company.simplified();
    if (details.client.isEmpty())
        details.client = QFileInfo(QDir::cleanPath(group.source)).fileName();
    details.wave = dateOf(title.surveyDate);
    if (!details.wave.isValid())
        details.wave = QDate::currentDate();
    details.sector = settings()->value(SectorKey).toString();
    return details;
}

void ArchiveCommands::addToArchive()
{
    const Profile *group = m_window.group();
    if (!group) {
        m_window.reportError(QStringLiteral("В архив добавляется группа: откройте папку с анкетами (Group)."));
        return;
    }
    SurveyArchive *store = archive();
    if (!store)
        return;
    QStringList sectors;
    if (const Outcome<QStringList> known = store->sectors())
        sectors = *known;
    const std::optional<SurveyDetails> details = m_askSurvey(m_window.window, proposal(*group), sectors);
    if (!details)
        return;
    const Outcome<SurveySummary::Survey> survey = SurveySummary::summarize(
        *group, details->client, details->wave, details->sector, Questionnaire::storedCaptions(), SegmentsTable::DefaultMinimum);
    if (!survey) {
        m_window.reportError(survey.message());
        return;
    }
    const Outcome<bool> present = store->contains(details->client, details->wave);
    if (!present) {
        m_window.reportError(present.message());
        return;
    }
    if (*present
        && !m_window.prompts->confirm(m_window.window, caption(),
                                      QStringLiteral("В архиве уже есть опрос клиента «%1» от %2. Заменить его?")
                                          .arg(survey->client, details->wave.toString(QStringLiteral("dd.MM.yyyy")))))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Outcome<> added = store->add(*survey, *present);
    QApplication::restoreOverrideCursor();
    if (!added) {
        m_window.reportError(added.message());
        return;
    }
    settings()->setValue(SectorKey, survey->sector);
    emit changed();
}

void ArchiveCommands::openArchive()
{
    SurveyArchive *store = archive();
    if (!store)
        return;
    ArchiveDialog dialog(
        *store, [this](const QString &question) { return m_window.prompts->confirm(m_window.window, caption(), question); },
        m_window.reportError, m_window.window);
    connect(&dialog, &ArchiveDialog::changed, this, &ArchiveCommands::changed);
    dialog.exec();
}

void ArchiveCommands::exportArchive()
{
    SurveyArchive *store = archive();
    if (!store)
        return;
    FileDialogSettings dialog = m_fileDialog;
    dialog.title = QStringLiteral("Экспорт архива");
    dialog.overwritePrompt = true;
    if (dialog.initialDir.isEmpty())
        dialog.initialDir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    dialog.fileName = QStringLiteral("Архив опросов.zolkdb");
    const QString target = m_window.prompts->saveFile(m_window.window, dialog);
    if (target.isEmpty())
        return;
    m_fileDialog.initialDir = QFileInfo(target).absolutePath();
    if (const Outcome<> written = store->exportTo(target); !written)
        m_window.reportError(written.message());
}

void ArchiveCommands::importArchive()
{
    SurveyArchive *store = archive();
    if (!store)
        return;
    FileDialogSettings dialog = m_fileDialog;
    dialog.title = QStringLiteral("Импорт архива");
    dialog.mustExist = true;
    const QString source = m_window.prompts->openFile(m_window.window, dialog);
    if (source.isEmpty())
        return;
    m_fileDialog.initialDir = QFileInfo(source).absolutePath();
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(store->path()).canonicalFilePath()) {
        m_window.reportError(QStringLiteral("Это и есть открытый архив: выберите архив коллеги."));
        return;
    }
    const Outcome<QList<SurveySummary::Survey>> incoming = SurveyArchive::readAll(source);
    if (!incoming) {
        m_window.reportError(incoming.message());
        return;
    }
    // The surveys of a client and wave present with other figures are asked about once, before the
    // archive is written (no dialog waits while it is locked); the same survey again is left as it is.
    const Outcome<QList<SurveySummary::Survey>> mine = store->all();
    if (!mine) {
        m_window.reportError(mine.message());
        return;
    }
    const auto key = [](const SurveySummary::Survey &s) { return SurveySummary::cleanText(s.client) + u'\n' + s.wave.toString(Qt::ISODate); };
    QHash<QString, qsizetype> stored;
    for (qsizetype k = 0; k < mine->size(); ++k)
        stored.insert(key(mine->at(k)), k);
    QStringList conflicts;
    for (const SurveySummary::Survey &survey : *incoming) {
        const auto found = stored.constFind(key(survey));
        if (found != stored.cend() && !SurveySummary::sameSurvey(mine->at(*found), survey))
            conflicts << QStringLiteral("«%1» от %2").arg(survey.client, survey.wave.toString(QStringLiteral("dd.MM.yyyy")));
    }
    bool replace = false;
    if (!conflicts.isEmpty()) {
        QString listed = conflicts.mid(0, 10).join(QStringLiteral("\n"));
        if (conflicts.size() > 10)
            listed += QStringLiteral("\n… и ещё %1").arg(conflicts.size() - 10);
        replace = m_window.prompts->confirm(m_window.window, caption(),
                                            QStringLiteral("В архиве уже есть опросы тех же клиентов и волн с другими цифрами:\n%1\n\n"
                                                           "Заменить их опросами из импортируемого архива? (Нет — оставить свои.)")
                                                .arg(listed));
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Outcome<> added = store->addAll(*incoming, [&](const SurveySummary::Survey &s) {
        const auto found = stored.constFind(key(s));
        return replace && found != stored.cend() && !SurveySummary::sameSurvey(mine->at(*found), s);
    });
    QApplication::restoreOverrideCursor();
    if (!added) {
        m_window.reportError(added.message());
        return;
    }
    emit changed();
}

void ArchiveCommands::chooseArchiveFile()
{
    FileDialogSettings dialog = m_fileDialog;
    dialog.title = QStringLiteral("Файл архива опросов (новый файл будет создан)");
    dialog.initialDir = QFileInfo(archivePath()).absolutePath();
    dialog.fileName = QFileInfo(archivePath()).fileName();
    const QString chosen = m_window.prompts->saveFile(m_window.window, dialog);
    if (chosen.isEmpty())
        return;
    Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(chosen);
    if (!opened) {
        m_window.reportError(opened.message());
        return;
    }
    m_archive = std::move(*opened);
    m_window.archivePath.clear();
    storePath(QFileInfo(chosen).absoluteFilePath());
    emit changed();
}

void ArchiveCommands::addPages(AnalysisWindow *analysis)
{
    const QString client = ReportTitleSettings::load().company.simplified();
    auto *norms = new NormsView({[this] { return archive(); }, m_window.shown, client}, analysis);
    auto *trend = new TrendView({[this] { return archive(); }, client}, analysis);
    m_norms = norms;
    m_trend = trend;
    analysis->addPage(norms, QStringLiteral("Нормы"));
    analysis->addPage(trend, QStringLiteral("Динамика"));
    connect(this, &ArchiveCommands::changed, norms, [norms] {
        if (norms->isVisible())
            norms->refresh();
    });
    connect(this, &ArchiveCommands::changed, trend, [trend] {
        if (trend->isVisible())
            trend->refresh();
    });
}

QList<ReportTablePage> ArchiveCommands::reportPages() const
{
    QList<ReportTablePage> pages;
    if (m_norms && !m_norms->rows().isEmpty() && m_norms->rows().first().enough()) {
        const QList<NormRow> &rows = m_norms->rows();
        ReportTablePage page;
        page.title = m_norms->title();
        page.circle = m_window.shown().scores.IndexScores;
        page.norm = NormsView::bandOf(rows);
        page.table = ArchiveTables::normsTable(rows);
        page.note = QStringLiteral("Норма — средние баллы опросов из архива консультанта. Процентиль = (опросов ниже + половина "
                                   "равных) / N × 100; стен = round(5,5 + 2z), z = (балл − среднее нормы) / ст. откл. нормы, "
                                   "от 1 до 10. Круг: сплошная линия — профиль, пунктир — среднее нормы, зелёная полоса — "
                                   "среднее ± ст. откл.");
        pages << page;
    }
    if (m_trend && m_trend->waves().size() >= 2) {
        ReportTablePage page;
        page.title = QStringLiteral("Динамика: ") + m_trend->client();
        page.table = ArchiveTables::trendByMeasureTable(m_trend->waves());
        page.note = QStringLiteral("Средние баллы по волнам опроса (не более %1 последних). Изменение — от предпоследней волны к "
                                   "последней; 95% ДИ — по t-критерию Уэлча по средним, стандартным отклонениям и числу анкет "
                                   "волн; * — p < 0,05.")
                        .arg(ArchiveTables::MaxWavesShown);
        pages << page;
    }
    return pages;
}
