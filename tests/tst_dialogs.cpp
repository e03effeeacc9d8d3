// The windows as the desktop sees them: the names the X server holds for the main window, the About
// dialog, the standard file dialogs and the message boxes, Qt's standard dialogs in Russian, and the
// memory Qt's file dialogs leave behind. Runs on the xcb platform under Xvfb.

#include "About.h"
#include "Application.h"
#include "TestSupport.h"
#include "WindowPrompts.h"
#include "UnitPlot.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMap>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace TestSupport;

namespace {

// WM_NAME and _NET_WM_NAME of a window as the X server holds them, as a window manager reads them.
QStringList xWindowNames(const QWidget *window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                          QStringLiteral("-notype"), QStringLiteral("WM_NAME"), QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(10000))
        return {QStringLiteral("xprop did not answer")};
    QStringList names;
    static const QRegularExpression line(QStringLiteral("^(WM_NAME|_NET_WM_NAME) = \"(.*)\"$"));
    for (const QString &text : QString::fromUtf8(xprop.readAllStandardOutput()).split(u'\n')) {
        const auto match = line.match(text);
        if (match.hasMatch())
            names << match.captured(2);
    }
    return names;
}

// Runs trigger, which opens modal dialogs and waits for them; each answer sees the next new dialog
// once it is shown, and closes it or opens a further one (which the next answer then sees). Returns
// how many dialogs were answered.
using Answer = std::function<void(QWidget *)>;
int answerModals(const std::function<void()> &trigger, const QList<Answer> &answers)
{
    QList<QPointer<QWidget>> seen;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || seen.contains(modal) || seen.size() >= answers.size())
            return;
        seen << modal;
        // Answered from its own event, not inside the poll's: an answer may open a further dialog,
        // whose loop must still see the poll run.
        const Answer answer = answers[seen.size() - 1];
        QTimer::singleShot(0, modal, [answer, modal] { answer(modal); });
    });
    poll.start();
    trigger();
    poll.stop();
    return int(seen.size());
}

QString buttonText(const QAbstractButton *button)
{
    return button ? button->text().remove(u'&') : QString();
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void windowNames_data();
    void windowNames();
    void russianStandardDialogs_data();
    void russianStandardDialogs();
    void fileDialogsKeepNoMemory();
    void groupDialogTakesFolder_data();
    void groupDialogTakesFolder();

private:
    QTemporaryDir m_dir;
};

void TestDialogs::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("these tests read window names from the X server (run them under Xvfb)");
    if (QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
        QFAIL("xprop (Debian: x11-utils) is needed to read window names");
    // As the program sets itself up, for a Russian user.
    Application::configure(*qApp, QLocale(QLocale::Russian, QLocale::Russia));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("Data")));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("Results")));
}

void TestDialogs::windowNames_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::newRow("main window") << "main" << "ZOLK - Zembrau Plot";
    QTest::newRow("About") << "about" << "About";
    QTest::newRow("Data") << "data" << "Индивидуальные данные для оценки КК по Зембрау";
    QTest::newRow("Group") << "group" << "Ввод групповых данных для оценки КК по Зембрау";
    QTest::newRow("Save / Image") << "image" << "Запись общего профиля в jpg-файл";
    QTest::newRow("Save / Plot") << "plot" << "Запись гистограммы в jpg-файл";
    QTest::newRow("Save / Analysis") << "analysis" << "Запись анализа факторов в rtf.файл";
    QTest::newRow("message box") << "message" << "ZOLK.Plot.Culture";
}

void TestDialogs::windowNames()
{
    QFETCH(QString, window);
    QFETCH(QString, name);
    auto shell = std::make_shared<RecordingShell::Shared>();
    TForm1::Options options;
    options.appDir = m_dir.path();
    options.prompts = std::make_unique<DesktopPrompts>(); // the real dialogs and message boxes
    options.shell = std::make_unique<RecordingShell>(shell);
    TForm1 form(std::move(options));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QStringList names;
    const Answer readAndClose = [&](QWidget *dialog) {
        names = xWindowNames(dialog->window());
        dialog->close();
    };
    if (window == QLatin1String("main")) {
        names = xWindowNames(&form);
    } else if (window == QLatin1String("about")) {
        form.showAbout();
        auto *about = form.findChild<TAboutBox *>(QStringLiteral("AboutBox"));
        QVERIFY(about);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        names = xWindowNames(about);
    } else if (window == QLatin1String("message")) {
        // A file that cannot be opened ends "Data" with a message box captioned with the application title.
        const Answer chooseMissing = [&](QWidget *dialog) {
            auto *files = qobject_cast<QFileDialog *>(dialog);
            // Typed into the name field, as a user would name a file that is not there.
            files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("missing.cry"));
            static_cast<QDialog *>(files)->accept();
        };
        QCOMPARE(answerModals([&] { form.mmOpenClick(); }, {chooseMissing, readAndClose}), 2);
    } else {
        const QMap<QString, std::function<void()>> commands = {
            {QStringLiteral("data"), [&] { form.mmOpenClick(); }},      {QStringLiteral("group"), [&] { form.mmGroupClick(); }},
            {QStringLiteral("image"), [&] { form.mmSaveClick(); }},     {QStringLiteral("plot"), [&] { form.mmPlotSaveClick(); }},
            {QStringLiteral("analysis"), [&] { form.mmAnalysisClick(); }}};
        QCOMPARE(answerModals(commands.value(window), {readAndClose}), 1);
    }
    QCOMPARE(names, QStringList({name, name}));
}

void TestDialogs::russianStandardDialogs_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("accept");
    QTest::addColumn<QString>("typed"); // the name in the dialog's name field
    QTest::newRow("open dialog") << false << "Открыть" << "existing.jpg";
    QTest::newRow("save dialog and its overwrite question") << true << "Сохранить" << "existing.jpg";
    // The picture exports' ".jpg" is added by the dialog, which so asks about the file it will write.
    QTest::newRow("save dialog, name without extension") << true << "Сохранить" << "existing";
}

void TestDialogs::russianStandardDialogs()
{
    QFETCH(bool, save);
    QFETCH(QString, accept);
    QFETCH(QString, typed);
    const QString existing = m_dir.filePath(QStringLiteral("Results/existing.jpg"));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    FileDialogSettings settings;
    settings.title = QStringLiteral("Запись");
    settings.filter = QStringLiteral("JPG Files (*.jpg)|*.JPG");
    settings.initialDir = m_dir.filePath(QStringLiteral("Results"));
    settings.fileName = existing;
    settings.overwritePrompt = true;
    settings.defaultSuffix = QStringLiteral("jpg");
    DesktopPrompts prompts;
    QString acceptText, cancelText, question, yes, no;
    const Answer readButtons = [&](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(files);
        auto *buttons = files->findChild<QDialogButtonBox *>();
        QVERIFY(buttons);
        acceptText = buttonText(buttons->button(save ? QDialogButtonBox::Save : QDialogButtonBox::Open));
        cancelText = buttonText(buttons->button(QDialogButtonBox::Cancel));
        // Windows' dialog adds its filter's first extension to a name that ends otherwise: the
        // default suffix's pattern leads, so that the proposed "existing.jpg" is taken as it is.
        QCOMPARE(files->nameFilters(), QStringList{QStringLiteral("JPG Files (*.jpg *.JPG)")});
        files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
        if (save)
            static_cast<QDialog *>(files)->accept(); // the existing file: the overwrite question comes, "no" returns here
        files->reject();
    };
    const Answer readQuestion = [&](QWidget *box) {
        auto *message = qobject_cast<QMessageBox *>(box);
        QVERIFY(message);
        question = message->text();
        yes = buttonText(message->button(QMessageBox::Yes));
        no = buttonText(message->button(QMessageBox::No));
        message->button(QMessageBox::No)->click();
    };
    const auto run = [&] { save ? prompts.saveFile(nullptr, settings) : prompts.openFile(nullptr, settings); };
    QCOMPARE(answerModals(run, {readButtons, readQuestion}), save ? 2 : 1);
    QCOMPARE(acceptText, accept);
    QCOMPARE(cancelText, QStringLiteral("Отмена"));
    if (save) {
        QVERIFY2(question.contains(QStringLiteral("уже существует")), qPrintable(question));
        QCOMPARE(yes, QStringLiteral("Да"));
        QCOMPARE(no, QStringLiteral("Нет"));
    }
}

// Qt's file dialogs, shown and painted time after time, leave nothing behind. Their icons, made anew
// for every dialog, used to leave their pixmaps and keys in QPixmapCache: some 22 kB a dialog.
void TestDialogs::fileDialogsKeepNoMemory()
{
    FileDialogSettings settings;
    settings.title = QStringLiteral("Запись");
    settings.filter = QStringLiteral("JPG Files (*.jpg)|*.JPG");
    settings.initialDir = m_dir.filePath(QStringLiteral("Results"));
    settings.fileName = m_dir.filePath(QStringLiteral("Results/picture.jpg"));
    settings.defaultSuffix = QStringLiteral("jpg");
    DesktopPrompts prompts;
    const Answer lookAndCancel = [](QWidget *dialog) {
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QTest::qWait(20); // every part painted
        static_cast<QDialog *>(dialog)->reject();
    };
    // Open and save dialogs in turn, as a user opens a file and saves a picture.
    const auto dialogs = [&](int count) {
        for (int k = 0; k < count; ++k) {
            const auto run = [&] { k % 2 ? prompts.saveFile(nullptr, settings) : prompts.openFile(nullptr, settings); };
            QCOMPARE(answerModals(run, {lookAndCancel}), 1);
        }
    };
    dialogs(60); // the caches the first dialogs fill
    const long long before = heapInUse();
    const int count = 40;
    dialogs(count);
    const long long perDialog = (heapInUse() - before) / count;
    QVERIFY2(perDialog < 2000, qPrintable(QStringLiteral("%1 bytes kept per dialog").arg(perDialog)));
}

// "Group" takes the folder itself, typed or pasted into the name field, as well as a file in it; a
// dialog that takes files only goes into a folder typed there.
void TestDialogs::groupDialogTakesFolder_data()
{
    QTest::addColumn<bool>("acceptsFolder");
    QTest::addColumn<QString>("typed"); // relative to the test's folder
    QTest::addColumn<QString>("answer");
    QTest::newRow("a folder typed") << true << "Data" << "Data/";
    QTest::newRow("a folder pasted with its separator") << true << "Data/" << "Data/";
    QTest::newRow("a file in the folder") << true << "Data/member.cry" << "Data/member.cry";
    QTest::newRow("files only: the dialog goes into the folder") << false << "Data" << "";
}

void TestDialogs::groupDialogTakesFolder()
{
    QFETCH(bool, acceptsFolder);
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFile member(m_dir.filePath(QStringLiteral("Data/member.cry")));
    QVERIFY(member.open(QIODevice::WriteOnly));
    member.close();
    FileDialogSettings settings;
    settings.title = QStringLiteral("Ввод групповых данных");
    settings.filter = QStringLiteral("CRY Files (*.cry)|*.cry");
    settings.initialDir = m_dir.path();
    settings.acceptsFolder = acceptsFolder;
    DesktopPrompts prompts;
    const Answer type = [&](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(files);
        files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(m_dir.filePath(typed));
        static_cast<QDialog *>(files)->accept();
        if (files->isVisible()) // it went into the folder and waits for a file
            files->reject();
    };
    QString chosen;
    QCOMPARE(answerModals([&] { chosen = prompts.openFile(nullptr, settings); }, {type}), 1);
    QCOMPARE(chosen, answer.isEmpty() ? QString() : m_dir.filePath(answer));
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
