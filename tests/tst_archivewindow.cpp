// The menu "Архив" and the analysis window's tabs "Нормы" and "Динамика", driven as a consultant
// uses them, on an archive of the test's own.

#include "ArchiveCommands.h"
#include "Report.h"
#include "Session.h"
#include "SurveyArchive.h"
#include "WindowFixture.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

class TestArchiveWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void addNormsTrend();
    void exportImport();

private:
    QTemporaryDir m_settings;
};

namespace {

QString writeGroup(const QString &folder, double shift)
{
    QDir().mkpath(folder);
    for (int k = 0; k < 10; ++k) {
        TestSupport::Respondent r = TestSupport::Respondent::uniform(2.5 + shift + 0.1 * (k % 4));
        r.code = QStringLiteral("55%1").arg(k, 2, 10, QChar(u'0'));
        r.info = {k < 5 ? QStringLiteral("Цех") : QStringLiteral("Офис"), QString(), QString(), QString()};
        TestSupport::writeResultFile(folder, QStringLiteral("%1.cry").arg(r.code), r);
    }
    return folder;
}

SurveySummary::Survey other(int k)
{
    SurveySummary::Survey s;
    s.client = QStringLiteral("Другой %1").arg(k);
    s.wave = QDate(2023, 1, 1);
    s.whole.n = 30;
    s.whole.means.fill(2.0 + 0.3 * k);
    s.whole.deviations.fill(0.6);
    return s;
}

ArchiveCommands *commandsOf(WindowFixture &fx)
{
    return fx.find<ArchiveCommands>(QStringLiteral("archiveCommands"));
}

} // namespace

void TestArchiveWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    QFile::remove(SurveyArchive::defaultPath());
}

void TestArchiveWindow::addNormsTrend()
{
    WindowFixture fx;
    ArchiveCommands *commands = commandsOf(fx);
    QVERIFY(commands);
    // The window's start does not touch the archive.
    QVERIFY(!QFile::exists(commands->archivePath()));
    QCOMPARE(commands->archivePath(), SurveyArchive::defaultPath());
    QVERIFY(!commands->isOpen());

    const QString folder = writeGroup(fx.dir.filePath(QStringLiteral("firm")), 0.0);
    fx.form->openPath(folder);
    QTRY_VERIFY(fx.form->session().group());
    QList<SurveyDetails> proposals;
    SurveyDetails answer{QStringLiteral("Фирма"), QDate(2023, 3, 1), QStringLiteral("Банки")};
    commands->setAskSurvey([&](QWidget *, const SurveyDetails &proposed, const QStringList &) -> std::optional<SurveyDetails> {
        proposals << proposed;
        return answer;
    });
    fx.action("mmArchiveAdd")->trigger();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    QVERIFY(QFile::exists(commands->archivePath()));
    // Proposed from the group's folder where the title block names no client.
    QCOMPARE(proposals.first().client, QStringLiteral("firm"));
    // The same client and wave again: asked, and kept when the answer is no.
    fx.prompts->confirmAnswers = {false};
    fx.action("mmArchiveAdd")->trigger();
    QCOMPARE(fx.prompts->questions.size(), 1);
    QVERIFY(fx.prompts->questions.first().contains(QStringLiteral("Фирма")));
    QCOMPARE(commands->archive()->surveys()->size(), 1);
    // The next wave, a little higher.
    const QString later = writeGroup(fx.dir.filePath(QStringLiteral("firm-2024")), 0.6);
    fx.form->openPath(later);
    QTRY_VERIFY(fx.form->session().group()->source.startsWith(later));
    answer.wave = QDate(2024, 3, 1);
    fx.action("mmArchiveAdd")->trigger();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    // Others' surveys, for a norm.
    for (int k = 0; k < 5; ++k)
        QVERIFY(commands->archive()->add(other(k), false).ok());

    fx.action("mmAnalysisWindow")->trigger();
    auto *analysis = fx.form->findChild<QDialog *>(QStringLiteral("analysisWindow"));
    QVERIFY(analysis);
    auto *tabs = analysis->findChild<QTabWidget *>(QStringLiteral("analysisTabs"));
    tabs->setCurrentWidget(analysis->findChild<QWidget *>(QStringLiteral("normsPage")));
    auto *norms = analysis->findChild<QTableView *>(QStringLiteral("normsView"));
    QTRY_COMPARE(norms->model()->rowCount(), SurveySummary::NormMeasures);
    // Seven surveys: five others and the client's two.
    QCOMPARE(norms->model()->index(0, 2).data().toString(), QStringLiteral("7"));
    QVERIFY(!norms->model()->index(0, 6).data().toString().isEmpty());
    // Leaving the client's own out leaves five; one sector leaves too few.
    analysis->findChild<QLineEdit *>(QStringLiteral("normsExcludedClient"))->setText(QStringLiteral("Фирма"));
    analysis->findChild<QPushButton *>(QStringLiteral("normsRefresh"))->click();
    QCOMPARE(norms->model()->index(0, 2).data().toString(), QStringLiteral("5"));
    auto *sector = analysis->findChild<QComboBox *>(QStringLiteral("normsSector"));
    QCOMPARE(sector->findText(QStringLiteral("Банки")), 1);
    sector->setCurrentIndex(1);
    analysis->findChild<QPushButton *>(QStringLiteral("normsRefresh"))->click();
    QVERIFY(analysis->findChild<QLabel *>(QStringLiteral("normsStatus"))->text().contains(QStringLiteral("мало данных")));

    tabs->setCurrentWidget(analysis->findChild<QWidget *>(QStringLiteral("trendPage")));
    auto *client = analysis->findChild<QComboBox *>(QStringLiteral("trendClient"));
    client->setCurrentText(QStringLiteral("Фирма"));
    analysis->findChild<QPushButton *>(QStringLiteral("trendRefresh"))->click();
    auto *changes = analysis->findChild<QTableView *>(QStringLiteral("trendChanges"));
    QCOMPARE(changes->model()->rowCount(), SurveySummary::NormMeasures);
    // A rise of 0.6 in groups of ten with a spread of about 0.1: marked.
    QCOMPARE(changes->model()->index(0, 9).data().toString(), QStringLiteral("*"));
    QVERIFY(!changes->model()->index(0, 8).data().toString().contains(QStringLiteral("nan"), Qt::CaseInsensitive));

    // The report gets the trend as the tab shows it; the norms of one sector are too few for a page.
    QList<ReportTablePage> pages = commands->reportPages();
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.first().title, QStringLiteral("Динамика: Фирма"));
    sector->setCurrentIndex(0);
    analysis->findChild<QPushButton *>(QStringLiteral("normsRefresh"))->click();
    pages = commands->reportPages();
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages.first().norm.has_value());
    ReportInput input;
    input.profile = fx.form->session().shownProfile();
    input.tablePages = pages;
    const Outcome<QByteArray> pdf = Report::render(input);
    QVERIFY(pdf.ok());
    if (const QString keep = qEnvironmentVariable("ZOLK_KEEP_REPORT"); !keep.isEmpty()) {
        QFile file(keep);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(*pdf);
    }
}

void TestArchiveWindow::exportImport()
{
    WindowFixture fx;
    ArchiveCommands *commands = commandsOf(fx);
    // The setting chooses the file.
    ArchiveCommands::storePath(fx.dir.filePath(QStringLiteral("own.zolkdb")));
    QVERIFY(commands->archive());
    QCOMPARE(commands->archive()->path(), fx.dir.filePath(QStringLiteral("own.zolkdb")));
    for (int k = 0; k < 7; ++k)
        QVERIFY(commands->archive()->add(other(k), false).ok());
    const qsizetype before = 7;
    // Exported for a colleague, who changes one survey and adds one.
    const QString shared = fx.dir.filePath(QStringLiteral("shared.zolkdb"));
    fx.prompts->saveAnswers << shared;
    fx.action("mmArchiveExport")->trigger();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    {
        Outcome<std::unique_ptr<SurveyArchive>> colleague = SurveyArchive::open(shared);
        QVERIFY(colleague.ok());
        SurveySummary::Survey changed = other(0);
        changed.whole.means.fill(4.5);
        QVERIFY((*colleague)->add(changed, true).ok());
        QVERIFY((*colleague)->add(other(9), false).ok());
    }
    // Imported back: the changed survey asked about (yes), the new one added.
    fx.prompts->openAnswers << shared;
    fx.prompts->confirmAnswers = {true};
    fx.action("mmArchiveImport")->trigger();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    QCOMPARE(fx.prompts->questions.size(), 1);
    QCOMPARE(commands->archive()->surveys()->size(), before + 1);
    QCOMPARE(commands->archive()->trend(QStringLiteral("Другой 0"))->first().figures.means[0], 4.5);
    // A file that is no archive: refused with the reason, the archive as it was.
    const QString text = fx.dir.filePath(QStringLiteral("notes.zolkdb"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not an archive");
    file.close();
    fx.prompts->openAnswers << text;
    fx.action("mmArchiveImport")->trigger();
    QCOMPARE(fx.prompts->errors.size(), 1);
    QVERIFY(fx.prompts->errors.first().contains(QStringLiteral("notes.zolkdb")));
    QCOMPARE(commands->archive()->surveys()->size(), before + 1);
    ArchiveCommands::storePath(QString());
}

QTEST_MAIN(TestArchiveWindow)
#include "tst_archivewindow.moc"
