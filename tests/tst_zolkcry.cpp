// The zolk-cry command, run as a consultant or a script would run it.

#include "AnswerSheet.h"
#include "Cp1251.h"
#include "ProfileLoader.h"
#include "Scoring.h"
#include "TestSupport.h"
#include "Version.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

class TestZolkCry : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void errors_data();
    void errors();
    void outputs_data();
    void outputs();
    void help_data();
    void help();
    void terminal_data();
    void terminal();
    void scores_data();
    void scores();
    void analyses_data();
    void analyses();
    void importRoundTrip();
    void importRefuses_data();
    void importRefuses();
    void questionnaire_data();
    void questionnaire();
    void reports_data();
    void reports();

private:
    struct Run
    {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };
    // environment: "NAME=value" entries; the language comes from them alone (LANG stays C.UTF-8).
    Run execute(const QString &program, const QStringList &arguments, const QByteArray &input, const QStringList &environment);
    Run run(const QStringList &arguments, const QByteArray &input = QByteArray(), const QStringList &environment = {});
};

namespace {

// Every file under folder with its bytes (links as their targets), to see that a failed command
// changed nothing on the disk.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files.insert(QDir(folder).relativeFilePath(path),
                     it.fileInfo().isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(not a file)"));
    }
    return files;
}

QStringList substituted(QStringList arguments, const QString &dir)
{
    for (QString &argument : arguments)
        argument.replace(QLatin1String("{dir}"), dir);
    return arguments;
}

// Runs a program with its standard output or standard error (stream) on a terminal of its own and
// hands back what the terminal showed on the same stream of this script.
const char *const TerminalScript = "import os, subprocess, sys\n"
                                   "stream = sys.argv[1]\n"
                                   "master, slave = os.openpty()\n"
                                   "p = subprocess.Popen(sys.argv[2:], stdin=subprocess.DEVNULL, **{stream: slave})\n"
                                   "os.close(slave)\n"
                                   "shown = b''\n"
                                   "while True:\n"
                                   "    try:\n"
                                   "        chunk = os.read(master, 65536)\n"
                                   "    except OSError:\n"
                                   "        break\n"
                                   "    if not chunk:\n"
                                   "        break\n"
                                   "    shown += chunk\n"
                                   "code = p.wait()\n"
                                   "getattr(sys, stream).buffer.write(shown)\n"
                                   "sys.exit(code)\n";

} // namespace

TestZolkCry::Run TestZolkCry::execute(const QString &program, const QStringList &arguments, const QByteArray &input,
                                      const QStringList &environment)
{
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LC_NUMERIC", "LANGUAGE"})
        variables.remove(QString::fromLatin1(name));
    variables.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    for (const QString &entry : environment)
        variables.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    process.setProcessEnvironment(variables);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        qFatal("%s did not finish", qPrintable(program));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

TestZolkCry::Run TestZolkCry::run(const QStringList &arguments, const QByteArray &input, const QStringList &environment)
{
    return execute(QStringLiteral(ZOLK_CRY_PATH), arguments, input, environment);
}

void TestZolkCry::roundTrip_data()
{
    QTest::addColumn<bool>("raw");
    QTest::newRow("utf-8 input") << false;
    QTest::newRow("windows-1251 input") << true;
}

void TestZolkCry::roundTrip()
{
    QFETCH(bool, raw);
    QTemporaryDir dir;
    const QString plain = TestSupport::plainText(TestSupport::Respondent());
    const QByteArray input = raw ? Cp1251::encode(plain) : plain.toUtf8();
    QStringList args{QStringLiteral("encode")};
    if (raw)
        args << QStringLiteral("--raw");
    const Run encoded = run(args, input);
    QCOMPARE(encoded.exitCode, 0);
    const QString file = TestSupport::writeStoredFile(dir.path(), QStringLiteral("r.cry"), encoded.out);
    const Run bytes = run({QStringLiteral("decode"), file});
    QCOMPARE(bytes.exitCode, 0);
    QCOMPARE(bytes.out, Cp1251::encode(plain));
    const Run utf8 = run({QStringLiteral("decode"), file, QStringLiteral("--utf8")});
    QCOMPARE(QString::fromUtf8(utf8.out), plain);
}

void TestZolkCry::errors_data()
{
    // {dir} holds good.cry, bad.cry (not a result file), group/ (one result file and an empty
    // sub-folder), badgroup/ (one bad member), empty/ (no result file) and depts/ (a department
    // and a link to itself where another would be).
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("messages"); // each is on standard error

    const QStringList english;
    const QStringList russian{QStringLiteral("LANG=ru_RU.UTF-8")};
    const QStringList russianAll{QStringLiteral("LC_ALL=ru_RU.UTF-8")};
    const auto row = [](const char *name, const QStringList &arguments, const QByteArray &input, const QStringList &environment,
                        int exitCode, const QStringList &messages) {
        QTest::newRow(name) << arguments << input << environment << exitCode << messages;
    };

    // Runtime failures: exit 1 with the reason.
    row("missing file", {"decode", "/nonexistent/x.cry"}, {}, english, 1, {"Cannot open file"});
    row("character outside windows-1251", {"encode"}, QStringLiteral("Ω ☃").toUtf8(), english, 1, {"windows-1251 cannot hold"});
    row("oversized plaintext", {"encode"}, QByteArray(33001, 'x'), english, 1, {"at most 33000"});
    row("input far beyond a result file", {"encode", "--raw"}, QByteArray(200000, 'x'), english, 1, {"at most 33000"});
    row("zero byte", {"encode", "--raw"}, QByteArray("a\0b", 3), english, 1, {"zero byte"});
    row("windows-1251 bytes without --raw", {"encode"}, QByteArray("\xcf\xf0\xe8", 3), english, 1, {"not UTF-8", "--raw"});
    row("decode of a file that is not a result file", {"decode", "{dir}/bad.cry"}, {}, english, 1,
        {"is not a valid floating point value", "bad.cry, line 9"});
    row("decode of a folder", {"decode", "{dir}/group"}, {}, english, 1, {"Cannot open file", "not a regular file"});
    row("a bad file ends scores", {"scores", "{dir}/good.cry", "{dir}/bad.cry", "-o", "{dir}/out.csv"}, {}, english, 1, {"bad.cry"});
    row("every input skipped", {"scores", "--skip-bad", "{dir}/bad.cry", "{dir}/badgroup", "{dir}/empty", "-o", "{dir}/out.csv"}, {},
        english, 1, {"skipped: ", "bad.cry, line 9", "badgroup", "x.cry", "empty", "No input could be read"});
    row("output replaces the input of scores", {"scores", "{dir}/good.cry", "-o", "{dir}/good.cry"}, {}, english, 1,
        {"Cannot create file", "is one of the inputs"});
    row("output replaces the input of decode", {"decode", "{dir}/good.cry", "-o", "{dir}/./good.cry"}, {}, english, 1,
        {"is one of the inputs"});
    row("output replaces the input of encode", {"encode", "{dir}/good.cry", "-o", "{dir}/good.cry"}, {}, english, 1,
        {"is one of the inputs"});
    row("output inside the input folder", {"scores", "{dir}/group", "-o", "{dir}/group/scores.csv"}, {}, english, 1,
        {"inside the input folder"});
    row("output in a sub-folder of the input folder", {"scores", "{dir}/group", "-o", "{dir}/group/sub/x.cry"}, {}, english, 1,
        {"inside the input folder"});
    row("output in a missing folder", {"encode", "-o", "{dir}/missing/x.cry"}, "text", english, 1, {"Cannot create file"});
#ifdef Q_OS_UNIX
    row("output through a link to the input", {"decode", "{dir}/good.cry", "-o", "{dir}/link.cry"}, {}, english, 1,
        {"is one of the inputs"});
    row("output is a hard link of the input", {"decode", "{dir}/good.cry", "-o", "{dir}/hard.cry"}, {}, english, 1,
        {"is one of the inputs"});
    row("a full device", {"encode", "-o", "/dev/full"}, "text", english, 1, {"Cannot create file /dev/full"});
#endif

    // Usage errors: exit 2, one line of reason and where to find help.
    row("unknown option", {"--bogus"}, {}, english, 2, {"unknown option '--bogus'"});
    row("unknown option of a command", {"decode", "--bogus", "{dir}/good.cry"}, {}, english, 2, {"unknown option '--bogus'"});
    row("unknown command", {"frobnicate"}, {}, english, 2, {"unknown command 'frobnicate'"});
    row("no command", {}, {}, english, 2, {"no command given"});
    row("missing argument", {"decode"}, {}, english, 2, {"missing argument FILE"});
    row("missing folder argument", {"scores", "-o", "{dir}/out.csv"}, {}, english, 2, {"missing argument FILE_OR_FOLDER"});
    row("extra argument", {"decode", "{dir}/good.cry", "{dir}/bad.cry"}, {}, english, 2, {"unexpected argument '", "bad.cry'"});
    row("missing value for -o", {"encode", "-o"}, {}, english, 2, {"option '-o' needs a value"});
    row("-o given twice", {"encode", "-o", "{dir}/a", "-o", "{dir}/b"}, {}, english, 2, {"more than once"});
    row("a value for an option without one", {"decode", "--utf8=yes", "{dir}/good.cry"}, {}, english, 2, {"'--utf8' takes no value"});
    row("help of an unknown command", {"help", "bogus"}, {}, english, 2, {"unknown command 'bogus'"});
    row("an option of another command", {"encode", "--skip-bad"}, {}, english, 2, {"unknown option '--skip-bad'"});
    row("segments without --by", {"segments", "{dir}/group"}, {}, english, 2, {"option '--by' is required"});
    row("segments by an unknown split", {"segments", "{dir}/group", "--by", "info5"}, {}, english, 2, {"not 'info5'"});
    row("segments with a threshold below 3", {"segments", "{dir}/group", "--by", "info1", "--min", "2"}, {}, english, 2,
        {"'--min' needs a whole number of at least 3"});
    row("segments with a threshold that is no number", {"segments", "{dir}/group", "--by", "info1", "--min", "five"}, {}, english, 2,
        {"at least 3"});
    row("segments of a file", {"segments", "{dir}/good.cry", "--by", "info1", "-o", "{dir}/out.csv"}, {}, english, 1,
        {"good.cry is not a folder"});
    row("spread of a folder with a bad member", {"spread", "{dir}/group", "{dir}/badgroup", "-o", "{dir}/out.csv"}, {}, english, 1,
        {"x.cry"});
    row("spread written into its input folder", {"spread", "{dir}/group", "-o", "{dir}/group/spread.csv"}, {}, english, 1,
        {"inside the input folder"});
    row("spread of nothing readable", {"spread", "--skip-bad", "{dir}/badgroup", "{dir}/empty", "-o", "{dir}/out.csv"}, {}, english, 1,
        {"skipped: ", "No input could be read"});

    // The user's language: Russian where it is Russian, English otherwise. The reader's first lines
    // stay English in both.
    row("usage error in Russian (LANG)", {"--bogus"}, {}, russian, 2, {"неизвестный параметр '--bogus'", "zolk-cry help"});
    row("usage error in Russian (LC_ALL)", {"decode"}, {}, russianAll, 2, {"не указан аргумент ФАЙЛ"});
    row("usage error in English under German", {"--bogus"}, {}, {"LANG=de_DE.UTF-8"}, 2, {"unknown option '--bogus'"});
    row("reader's message in Russian", {"decode", "{dir}/bad.cry"}, {}, russian, 1,
        {"is not a valid floating point value", "bad.cry, строка 9"});
    row("cannot open in Russian", {"decode", "{dir}/group"}, {}, russianAll, 1, {"Cannot open file", "Это не обычный файл"});
    row("refused output in Russian", {"scores", "{dir}/group", "-o", "{dir}/group/scores.csv"}, {}, russian, 1,
        {"Cannot create file", "внутри входной папки"});
    row("every input skipped, in Russian", {"scores", "--skip-bad", "{dir}/bad.cry", "{dir}/empty"}, {}, russian, 1,
        {"пропущен: ", "Не удалось прочитать ни одного из указанных файлов и папок"});
    row("encoding failure in Russian", {"encode"}, QStringLiteral("Ω").toUtf8(), russian, 1, {"windows-1251"});
    row("segments without --by, in Russian", {"segments", "{dir}/group"}, {}, russian, 2, {"параметр '--by' обязателен"});
#ifdef Q_OS_UNIX
    // A failing output leaves the other output of the command (here an existing file) as it was.
    row("questionnaire to a full device", {"questionnaire", "-o", "/dev/full", "--template", "{dir}/good.cry"}, {}, english, 1,
        {"Cannot create file /dev/full"});
    // A department that cannot be read is no department left out in silence.
    row("a department that cannot be read", {"scores", "{dir}/depts"}, {}, english, 1, {"Cannot read the folder", "loop"});
#endif
}

void TestZolkCry::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, environment);
    QFETCH(int, exitCode);
    QFETCH(QStringList, messages);
#ifdef Q_OS_WIN
    if (!environment.isEmpty())
        QSKIP("Windows takes the language from its own settings, not from the environment");
#endif
    QTemporaryDir dir;
    const QString good = TestSupport::writeResultFile(dir.path(), QStringLiteral("good.cry"), TestSupport::Respondent());
    TestSupport::writeStoredFile(dir.path(), QStringLiteral("bad.cry"), "not letters");
    QDir(dir.path()).mkpath(QStringLiteral("group/sub"));
    TestSupport::writeResultFile(dir.filePath(QStringLiteral("group")), QStringLiteral("m.cry"), TestSupport::Respondent());
    QDir(dir.path()).mkpath(QStringLiteral("badgroup"));
    TestSupport::writeStoredFile(dir.filePath(QStringLiteral("badgroup")), QStringLiteral("x.cry"), "zz");
    QDir(dir.path()).mkpath(QStringLiteral("empty"));
#ifdef Q_OS_UNIX
    QDir(dir.path()).mkpath(QStringLiteral("depts/Отдел 1"));
    TestSupport::writeResultFile(dir.filePath(QStringLiteral("depts/Отдел 1")), QStringLiteral("a.cry"), TestSupport::Respondent());
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("depts/loop")), dir.filePath(QStringLiteral("depts/loop"))));
    QVERIFY(QFile::link(good, dir.filePath(QStringLiteral("link.cry"))));
    QCOMPARE(::link(QFile::encodeName(good).constData(), QFile::encodeName(dir.filePath(QStringLiteral("hard.cry"))).constData()), 0);
#endif
    const QMap<QString, QByteArray> before = snapshot(dir.path());

    const Run result = run(substituted(arguments, dir.path()), input, environment);
    const QString err = QString::fromLocal8Bit(result.err);
    QCOMPARE(result.exitCode, exitCode);
    for (const QString &message : std::as_const(messages))
        QVERIFY2(err.contains(message), qPrintable(QStringLiteral("\"%1\" not in: %2").arg(message, err)));
    if (exitCode == 2) {
        // One line of reason, one naming the help.
        QCOMPARE(err.count(u'\n'), 2);
        QVERIFY2(err.contains(QLatin1String("zolk-cry help")), qPrintable(err));
    }
    QVERIFY(result.out.isEmpty());
    // A failed command leaves the disk as it was: no output file, no input replaced.
    QCOMPARE(snapshot(dir.path()), before);
}

void TestZolkCry::outputs_data()
{
    QTest::addColumn<QString>("target"); // "-o" as given; {dir} is a temporary folder
    QTest::addColumn<bool>("onStandardOutput");
    QTest::newRow("standard output as -") << "-" << true;
    QTest::newRow("a new file") << "{dir}/new.cry" << false;
    QTest::newRow("an existing longer file is replaced whole") << "{dir}/existing.cry" << false;
#ifdef Q_OS_UNIX
    QTest::newRow("/dev/stdout") << "/dev/stdout" << true;
    QTest::newRow("a FIFO read by a background reader") << "{dir}/fifo" << false;
#endif
}

void TestZolkCry::outputs()
{
    // Where "-o" goes: a regular file is replaced whole; standard output, a device and a FIFO are
    // written to as streams and stay what they are.
    QFETCH(QString, target);
    QFETCH(bool, onStandardOutput);
    QTemporaryDir dir;
    const QString output = substituted({target}, dir.path()).first();
    {
        QFile existing(dir.filePath(QStringLiteral("existing.cry")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write(QByteArray(100000, 'z'));
    }
    const QString plain = TestSupport::plainText(TestSupport::Respondent());
    const QByteArray letters = TestSupport::storedLetters(plain);
    const bool fifo = output.endsWith(QLatin1String("fifo"));
    QByteArray readByReader;
    std::thread reader;
#ifdef Q_OS_UNIX
    if (fifo) {
        QCOMPARE(::mkfifo(QFile::encodeName(output).constData(), 0600), 0);
        reader = std::thread([&] {
            QFile pipe(output);
            if (pipe.open(QIODevice::ReadOnly))
                readByReader = pipe.readAll();
        });
    }
#endif
    const Run result = run({QStringLiteral("encode"), QStringLiteral("-o"), output}, plain.toUtf8());
#ifdef Q_OS_UNIX
    if (fifo) {
        // Ends the reader's wait where zolk-cry never opened the FIFO.
        const int writer = ::open(QFile::encodeName(output).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        reader.join();
    }
#endif
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.err.isEmpty(), result.err.constData());
    if (onStandardOutput) {
        QCOMPARE(result.out, letters);
    } else if (fifo) {
        QVERIFY(result.out.isEmpty());
        QCOMPARE(readByReader, letters);
        const QFileInfo info(output);
        QVERIFY(info.exists() && !info.isFile()); // still the FIFO, not a file put in its place
    } else {
        QVERIFY(result.out.isEmpty());
        QFile file(output);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), letters);
    }
}

void TestZolkCry::help_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QStringList>("texts"); // each is on standard output
    const QStringList synopses{"zolk-cry decode FILE [--utf8] [-o OUTPUT]", "zolk-cry encode [FILE] [--raw] [-o OUTPUT]",
                               "zolk-cry scores FILE_OR_FOLDER... [--skip-bad] [-o OUTPUT]", "zolk-cry help [COMMAND]",
                               "zolk-cry --version", "Exit status"};
    QTest::newRow("--help") << QStringList{"--help"} << QStringList() << synopses;
    QTest::newRow("-h") << QStringList{"-h"} << QStringList() << synopses;
    QTest::newRow("help") << QStringList{"help"} << QStringList() << synopses;
    QTest::newRow("help help") << QStringList{"help", "help"} << QStringList() << synopses;
    QTest::newRow("help decode") << QStringList{"help", "decode"} << QStringList()
                                 << QStringList{"Usage: zolk-cry decode FILE [--utf8] [-o OUTPUT]", "--utf8", "-o, --output OUTPUT"};
    QTest::newRow("decode --help") << QStringList{"decode", "--help"} << QStringList()
                                   << QStringList{"Usage: zolk-cry decode FILE", "--utf8"};
    QTest::newRow("--help decode") << QStringList{"--help", "decode"} << QStringList() << QStringList{"Usage: zolk-cry decode FILE"};
    QTest::newRow("scores -h with its arguments") << QStringList{"scores", "-h", "x.cry"} << QStringList()
                                                  << QStringList{"Usage: zolk-cry scores", "--skip-bad"};
    QTest::newRow("help encode") << QStringList{"help", "encode"} << QStringList() << QStringList{"--raw", "standard input"};
    QTest::newRow("--version") << QStringList{"--version"} << QStringList() << QStringList{QStringLiteral("zolk-cry " ZOLK_VERSION "\n")};
    QTest::newRow("help in Russian") << QStringList{"help"} << QStringList{"LANG=ru_RU.UTF-8"}
                                     << QStringList{"Использование:", "zolk-cry decode ФАЙЛ [--utf8] [-o ВЫХОД]", "Команды:"};
    QTest::newRow("help of a command in Russian") << QStringList{"scores", "--help"} << QStringList{"LC_ALL=ru_RU.UTF-8"}
                                                  << QStringList{"Использование: zolk-cry scores", "Параметры:", "--skip-bad"};
}

void TestZolkCry::help()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(QStringList, texts);
#ifdef Q_OS_WIN
    if (!environment.isEmpty())
        QSKIP("Windows takes the language from its own settings, not from the environment");
#endif
    const Run result = run(arguments, QByteArray(), environment);
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.err.isEmpty(), result.err.constData());
    const QString out = QString::fromLocal8Bit(result.out);
    for (const QString &text : texts)
        QVERIFY2(out.contains(text), qPrintable(QStringLiteral("\"%1\" not in: %2").arg(text, out)));
}

void TestZolkCry::terminal_data()
{
    QTest::addColumn<QString>("stream"); // the one on a terminal: "stdout" or "stderr"
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shown");    // on the terminal
    QTest::addColumn<QByteArray>("notShown"); // nowhere on the terminal
    QTest::newRow("decode writes text a terminal shows")
        << "stdout" << QStringList{"decode", "{dir}/r.cry"} << QStringLiteral("Тест") << QByteArray("\xd2\xe5\xf1\xf2"); // not the windows-1251 bytes
    QTest::newRow("a progress line while a folder is read")
        << "stderr" << QStringList{"scores", "{dir}/group", "-o", "{dir}/scores.csv"} << "group: result files read: 3 of 3"
        << QByteArray("\n"); // the line is cleared, not left behind
}

void TestZolkCry::terminal()
{
    // Decoded text and the progress line go to a terminal only: a pipe gets the file's own bytes
    // (roundTrip) and no progress (scores).
    QFETCH(QString, stream);
    QFETCH(QStringList, arguments);
    QFETCH(QString, shown);
    QFETCH(QByteArray, notShown);
#ifndef Q_OS_UNIX
    QSKIP("the terminal is made with Python's pty module, which needs a Unix system");
#endif
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 makes the terminal; it is not here");
    QTemporaryDir dir;
    TestSupport::writeResultFile(dir.path(), QStringLiteral("r.cry"), TestSupport::Respondent());
    QDir(dir.path()).mkpath(QStringLiteral("group"));
    for (int m = 0; m < 3; ++m) {
        TestSupport::Respondent r; // three respondents, not one read three times
        r.code = QString::number(m);
        TestSupport::writeResultFile(dir.filePath(QStringLiteral("group")), QStringLiteral("m%1.cry").arg(m), r);
    }
    const Run result = execute(python,
                               QStringList{QStringLiteral("-c"), QString::fromLatin1(TerminalScript), stream, QStringLiteral(ZOLK_CRY_PATH)}
                                   + substituted(arguments, dir.path()),
                               QByteArray(), {});
    QCOMPARE(result.exitCode, 0);
    const QByteArray terminal = stream == QLatin1String("stdout") ? result.out : result.err;
    QVERIFY2(terminal.contains(shown.toUtf8()), terminal.constData());
    QVERIFY2(!terminal.contains(notShown), terminal.constData());
}

void TestZolkCry::scores_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("badMember");
    QTest::addColumn<bool>("skipBad");
    QTest::newRow("Russian locale") << "ru_RU.UTF-8" << ";" << false << false;
    QTest::newRow("locale with a decimal point") << "C.UTF-8" << "," << false << false;
    QTest::newRow("a bad member ends the command") << "ru_RU.UTF-8" << ";" << true << false;
    QTest::newRow("a bad member skipped") << "ru_RU.UTF-8" << ";" << true << true;
}

void TestZolkCry::scores()
{
    // What a spreadsheet reads from "zolk-cry scores FILE FOLDER": parsed with Python's csv module,
    // every number compared with the scores the program loads.
    QFETCH(QString, lang);
    QFETCH(QString, separator);
    QFETCH(bool, badMember);
    QFETCH(bool, skipBad);
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 reads the CSV as a spreadsheet would; it is not here");
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("group"));
    QDir().mkpath(folder);
    QList<TestSupport::Respondent> members(3);
    for (int m = 0; m < 3; ++m) {
        members[m].code = QStringLiteral("00%1").arg(m + 1);
        members[m].name = QStringLiteral("Член; \"группы\" %1").arg(m + 1); // a separator and quotes to quote
        for (int i = 0; i < 12; ++i)
            members[m].indices[std::size_t(i)] = 1.0 + (i * 7 + m) % 13 * 0.25; // exact in the file
        TestSupport::writeResultFile(folder, QStringLiteral("m%1.cry").arg(m), members[m]);
    }
    if (badMember)
        TestSupport::writeStoredFile(folder, QStringLiteral("m1-bad.cry"), "not letters");
    const QString single = TestSupport::writeResultFile(dir.path(), QStringLiteral("single.cry"), TestSupport::Respondent());
    const QString csv = dir.filePath(QStringLiteral("scores.csv"));
    QStringList args{QStringLiteral("scores"), single, folder, QStringLiteral("-o"), csv};
    if (skipBad)
        args << QStringLiteral("--skip-bad");
    const Run result = run(args, QByteArray(), {QStringLiteral("LC_ALL=") + lang});
    if (badMember && !skipBad) {
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(QString::fromLocal8Bit(result.err).contains(QStringLiteral("m1-bad.cry")), result.err.constData());
        QVERIFY(!QFile::exists(csv)); // no output file
        return;
    }
    QCOMPARE(result.exitCode, 0);
    // The same inputs as a workbook: chosen by the name of -o (its cells are checked in tst_tables).
    if (!badMember) {
        const QString workbook = dir.filePath(QStringLiteral("scores.xlsx"));
        QStringList asWorkbook = args;
        asWorkbook[asWorkbook.indexOf(csv)] = workbook;
        QCOMPARE(run(asWorkbook, QByteArray(), {QStringLiteral("LC_ALL=") + lang}).exitCode, 0);
        QFile file(workbook);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("PK\x03\x04"));
        QVERIFY(bytes.contains("xl/worksheets/sheet1.xml"));
    }
    // Standard error names each skipped file with its reason, and nothing else (no progress on a pipe).
    if (badMember) {
        QVERIFY2(QString::fromLocal8Bit(result.err).contains(QStringLiteral("m1-bad.cry")), result.err.constData());
        QVERIFY2(result.err.contains("is not a valid floating point value"), result.err.constData());
    } else {
        QVERIFY2(result.err.isEmpty(), result.err.constData());
    }

    QProcess reader;
    reader.start(python, {QStringLiteral("-c"),
                          QStringLiteral("import csv, json, sys\n"
                                         "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                         "    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[2]))))\n"),
                          csv, separator});
    QVERIFY(reader.waitForFinished(30000));
    QCOMPARE(reader.exitCode(), 0);
    const QJsonArray rows = QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
    QCOMPARE(rows.size(), 1 + 1 + 3 + 1); // header, the single file, three members, the group's mean
    const QJsonArray header = rows[0].toArray();
    QCOMPARE(header.size(), 8 + 12 + 4 + 1 + 60);
    QCOMPARE(header[8].toString(), Resource::indexHeading(1));
    QCOMPARE(header[20].toString(), Resource::TraitName(1));
    const QChar decimal = separator == QLatin1String(";") ? u',' : u'.';
    const auto numbers = [&](const QJsonArray &row) {
        QList<double> values;
        for (int k = 8; k < row.size(); ++k) {
            QString text = row[k].toString();
            if (decimal == u',' && text.contains(u'.'))
                return QList<double>(); // a decimal point under a decimal-comma locale
            text.replace(u',', u'.');
            values << text.toDouble();
        }
        return values;
    };
    const auto expected = [](const std::array<double, 12> &indices, const std::array<double, 60> &items) {
        ProfileScores profile;
        profile.IndexScores = indices;
        profile.ItemScores = items;
        const double mean = Scoring::deriveScores(profile);
        QList<double> values(indices.begin(), indices.end());
        values += QList<double>(profile.TraitScores.begin(), profile.TraitScores.end());
        values << mean;
        values += QList<double>(items.begin(), items.end());
        return values;
    };
    const TestSupport::Respondent first;
    QCOMPARE(rows[1].toArray()[0].toString(), QStringLiteral("single.cry"));
    QCOMPARE(numbers(rows[1].toArray()), expected(first.indices, first.items));
    for (int m = 0; m < 3; ++m) {
        const QJsonArray row = rows[2 + m].toArray();
        // Paths relative to the inputs' common folder tell apart files of several folders.
        QCOMPARE(row[0].toString(), QStringLiteral("group/m%1.cry").arg(m));
        QCOMPARE(row[2].toString(), members[m].name);
        QCOMPARE(numbers(row), expected(members[m].indices, members[m].items));
    }
    // The mean row holds what the group build shows for the same members.
    if (badMember)
        QFile::remove(QDir(folder).filePath(QStringLiteral("m1-bad.cry")));
    const auto group = ProfileLoader::loadFolder(folder);
    QVERIFY(group.ok());
    QCOMPARE(rows[5].toArray()[0].toString(), QStringLiteral("Среднее по группе group"));
    QCOMPARE(rows[5].toArray()[2].toString(), QStringLiteral("Группа"));
    QCOMPARE(numbers(rows[5].toArray()), expected(group->profile.scores.IndexScores, group->profile.scores.ItemScores));
}

namespace {

// The members of the analysed folders: department (information line 1) and index 1; statement 1
// is answered with the member's number modulo 5, plus one.
struct Member
{
    const char *department;
    double firstIndex;
};
const QList<Member> Firm = {{"Склад", 4.0}, {"Склад", 4.0}, {"Склад", 4.0},  {"Склад", 4.0}, {"Склад", 4.0},
                            {"Продажи", 1.0}, {"Продажи", 1.0}, {"Продажи", 1.0}, {"Офис", 2.9}, {"Офис", 2.9},
                            {"Офис", 2.9},  {"Офис", 2.9},  {"Офис", 2.9}};
const QList<Member> Other = {{"Склад", 3.0}, {"Склад", 3.0}, {"Склад", 3.0}};

// The mean as the group's arithmetic forms it from scores with two decimals: the exact sum of their
// hundredths, divided once (the double nearest the true mean).
double meanOf(const QList<double> &values)
{
    qint64 hundredths = 0;
    for (double value : values)
        hundredths += qRound64(value * 100.0);
    return double(hundredths) / (100.0 * double(values.size()));
}

QList<double> firstIndices(const QList<Member> &members, const char *department = nullptr)
{
    QList<double> values;
    for (const Member &m : members)
        if (!department || QByteArray(m.department) == department)
            values << m.firstIndex;
    return values;
}

// A number as the CSV writes it: the shortest text that reads back as the same double.
QString num(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

void writeMembers(const QString &folder, const QList<Member> &members)
{
    QDir().mkpath(folder);
    for (qsizetype k = 0; k < members.size(); ++k) {
        TestSupport::Respondent r = TestSupport::Respondent::uniform(3.0);
        r.info[0] = QString::fromUtf8(members[k].department);
        r.indices[0] = members[k].firstIndex;
        r.items[0] = double(k % 5 + 1);
        r.code = QStringLiteral("%1-%2").arg(QFileInfo(folder).fileName()).arg(k);
        TestSupport::writeResultFile(folder, QStringLiteral("m%1.cry").arg(k, 2, 10, QChar(u'0')), r);
    }
}

} // namespace

void TestZolkCry::analyses_data()
{
    // {dir} holds firm/ (13 members in three departments), other/ (3 more of "Склад") and depts/,
    // whose sub-folders "Отдел 1" and "Отдел 2" hold the first 5 and the next 2 members of firm/.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<QStringList>>("rows"); // the first fields of each row after the header; "*" is any
    QTest::addColumn<QString>("warning");         // what standard error says (nothing where empty)
    const QString hidden5 = QStringLiteral("менее 5 анкет");
    const QList<double> all = firstIndices(Firm);
    const QList<double> both = all + firstIndices(Other);
    const QStringList group{QStringLiteral("Вся группа"), QStringLiteral("13"), num(meanOf(all))};
    // "Продажи" alone is too small: "Офис", the smaller other (first by name), hides its scores too,
    // else they would give away those of "Продажи" with the whole group's; it says why.
    const QString protects = QStringLiteral("скрыт для анонимности");
    QTest::newRow("segments by information line 1")
        << QStringList{"segments", "{dir}/firm", "--by", "info1"}
        << QList<QStringList>{group, {"Офис", "5", protects}, {"Продажи", hidden5, ""}, {"Склад", "5", num(4.0)}} << QString();
    // The same folder named twice, and through a sub-path: every member once, the repeats named.
    QTest::newRow("segments of a folder named twice")
        << QStringList{"segments", "{dir}/firm", "{dir}/firm/", "--by", "info1"}
        << QList<QStringList>{group, {"Офис", "5", protects}, {"Продажи", hidden5, ""}, {"Склад", "5", num(4.0)}}
        << QDir::toNativeSeparators(QStringLiteral("firm/")) + QStringLiteral(" is named twice; it is read once.");
    QTest::newRow("segments with a threshold of 3")
        << QStringList{"segments", "{dir}/firm", "--by", "info1", "--min", "3"}
        << QList<QStringList>{group, {"Офис", "5", "*"}, {"Продажи", "3", num(1.0)}, {"Склад", "5", num(4.0)}} << QString();
    QTest::newRow("segments by sub-folder")
        << QStringList{"segments", "{dir}/depts", "--by", "folder"}
        << QList<QStringList>{{"Вся группа", "7", num(meanOf(all.mid(0, 7)))}, {"Отдел 1", "5", protects}, {"Отдел 2", hidden5, ""}} << QString();
    QTest::newRow("segments of two folders by folder")
        << QStringList{"segments", "{dir}/firm", "{dir}/other", "--by", "folder", "--min", "3"}
        << QList<QStringList>{{"Вся группа", "16", num(meanOf(both))}, {"firm", "13", num(meanOf(all))}, {"other", "3", num(3.0)}} << QString();
    QTest::newRow("segments of two folders by information line 1")
        << QStringList{"segments", "{dir}/firm", "{dir}/other", "--by", "info1", "--min", "3"}
        << QList<QStringList>{{"Вся группа", "16", num(meanOf(both))},
                              {"Офис", "5", "*"},
                              {"Продажи", "3", num(1.0)},
                              {"Склад", "8", num(meanOf(firstIndices(Firm, "Склад") + firstIndices(Other)))}} << QString();
    // Statement 1 was answered 1, 2, 3, 4, 5, 1, 2, ...: three each of 1 to 3, two each of 4 and 5.
    QList<QStringList> spread{{"Индекс 1", "13", num(meanOf(all)), "*", "1", "4", "", "", "", "", ""},
                              {"Индекс 2", "13", "3", "0", "3", "3", "", "", "", "", ""}};
    for (int k = 3; k <= 12; ++k)
        spread << QStringList{QStringLiteral("Индекс %1").arg(k), "13"};
    spread << QStringList{"Фактор 1", "13", "*", "*", num((1.0 + 3 + 3) / 3), num((4.0 + 3 + 3) / 3), "", "", "", "", ""};
    for (int t = 2; t <= 4; ++t)
        spread << QStringList{QStringLiteral("Фактор %1").arg(t), "13"};
    spread << QStringList{"Утверждение 1", "13", num(meanOf({1, 2, 3, 4, 5, 1, 2, 3, 4, 5, 1, 2, 3})), "*", "1", "5", "3", "3", "3", "2", "2"};
    spread << QStringList{"Утверждение 2", "13", "3", "0", "3", "3", "0", "0", "13", "0", "0"};
    QTest::newRow("spread") << QStringList{"spread", "{dir}/firm"} << spread << QString();

    // Only statement 1 varies: every scale holds a statement without variance, so no alpha, no
    // correlation; said so in words, never as a number that is none.
    const QString undefined = QStringLiteral("не определено");
    QList<QStringList> reliability{{"*", "13", "не определено: утверждение 2 без разброса", undefined, undefined, undefined}};
    for (int k = 2; k <= 16; ++k)
        reliability << QStringList{"*", "13", QStringLiteral("не определено: утверждение %1 без разброса").arg(k <= 12 ? k * 5 - 4 : k == 13 ? 2 : (k - 13) * 15 + 1)};
    QTest::newRow("reliability") << QStringList{"reliability", "{dir}/firm"} << reliability << QString();
    QTest::newRow("items") << QStringList{"items", "{dir}/firm"}
                           << QList<QStringList>{{"*", "1", "13", num(meanOf({1, 2, 3, 4, 5, 1, 2, 3, 4, 5, 1, 2, 3})), "*", undefined, undefined},
                                                 {"*", "1", "13", "3", "0", undefined, undefined}} << QString();
    // Every shown segment with every index, in name order.
    QList<QStringList> differences;
    for (const char *segment : {"Офис", "Продажи", "Склад"})
        for (int i = 1; i <= 12; ++i)
            differences << QStringList{segment, QString::number(i), QByteArray(segment) == "Продажи" ? "3" : "5"};
    QTest::newRow("differences") << QStringList{"differences", "{dir}/firm", "--by", "info1", "--min", "3"} << differences << QString();
    // At the default threshold only "Склад" is shown: one segment, no ICC; index 2 has no variance
    // anywhere: full agreement.
    QList<QStringList> alone;
    for (int i = 1; i <= 12; ++i)
        alone << QStringList{"Склад", QString::number(i), "5"};
    QTest::newRow("differences of one segment") << QStringList{"differences", "{dir}/firm", "--by", "info1"} << alone << QString();
    QList<QStringList> agreement{{"1", undefined, undefined, "*"}};
    for (int i = 2; i <= 12; ++i)
        agreement << QStringList{QString::number(i), undefined, undefined, "1"};
    QTest::newRow("agreement") << QStringList{"agreement", "{dir}/firm", "--by", "info1"} << agreement << QString();
}

void TestZolkCry::analyses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QString, warning);
    QTemporaryDir dir;
    writeMembers(dir.filePath(QStringLiteral("firm")), Firm);
    writeMembers(dir.filePath(QStringLiteral("other")), Other);
    writeMembers(dir.filePath(QStringLiteral("depts/Отдел 1")), Firm.mid(0, 5));
    writeMembers(dir.filePath(QStringLiteral("depts/Отдел 2")), Firm.mid(5, 2));
    const Run result = run(substituted(arguments, dir.path()));
    if (warning.isEmpty())
        QVERIFY2(result.err.isEmpty(), result.err.constData());
    else
        QVERIFY2(QString::fromUtf8(result.err).contains(warning), result.err.constData());
    QCOMPARE(result.exitCode, 0);
    // Under C.UTF-8: "," between fields and the decimal point; no field here needs quotes.
    QVERIFY(result.out.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(result.out.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QMap<QString, qsizetype> rowCounts = {{"spread", 12 + 4 + 60}, {"items", 60}};
    QCOMPARE(lines.size(), 1 + rowCounts.value(arguments.first(), rows.size()));
    // The fields of a line; a quoted field (a statement with a comma) as one.
    const auto fieldsOf = [](const QString &line) {
        QStringList fields{QString()};
        bool quoted = false;
        for (QChar c : line) {
            if (c == u'"')
                quoted = !quoted;
            else if (c == u',' && !quoted)
                fields << QString();
            else
                fields.last() += c;
        }
        return fields;
    };
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QStringList fields = fieldsOf(lines[1 + r]);
        QCOMPARE(fields.size(), fieldsOf(lines[0]).size());
        for (qsizetype f = 0; f < rows[r].size(); ++f)
            if (rows[r][f] != QLatin1String("*"))
                QVERIFY2(fields[f] == rows[r][f],
                         qPrintable(QStringLiteral("row %1, field %2: %3 (expected %4)").arg(r).arg(f).arg(lines[1 + r], rows[r][f])));
        // A hidden segment shows no score at all.
        if (rows[r].value(1).startsWith(QStringLiteral("менее")))
            QCOMPARE(fields.mid(2), QStringList(fields.size() - 2, QString()));
    }
    // The same as a workbook, by the name of -o.
    const QString workbook = dir.filePath(QStringLiteral("out.xlsx"));
    QCOMPARE(run(substituted(arguments, dir.path()) << QStringLiteral("-o") << workbook).exitCode, 0);
    QFile file(workbook);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("PK\x03\x04"));
}

// "report": one PDF, or a pack into a folder with one file per department the anonymity rule shows.
void TestZolkCry::reports_data()
{
    // The folders of analyses: firm/ with "Офис" 5, "Продажи" 3 and "Склад" 5; depts/ with "Отдел 1"
    // 5 and "Отдел 2" 2.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("files"); // what {dir}/out holds afterwards
    QTest::addColumn<bool>("leftOut");      // standard error tells of segments without a report
    QTest::newRow("one report of a group")
        << QStringList{"report", "{dir}/firm", "--company", "ООО Тест", "-o", "{dir}/out/firm.pdf"} << 0
        << QStringList{"firm.pdf"} << false;
    QTest::newRow("a pack: the small department and the one that gives it away get none")
        << QStringList{"report", "{dir}/firm", "--by", "info1", "-o", "{dir}/out"} << 0
        << QStringList{"Вся группа.pdf", "Склад.pdf"} << true;
    QTest::newRow("a pack with a threshold of 3")
        << QStringList{"report", "{dir}/firm", "--by", "info1", "--min", "3", "-o", "{dir}/out"} << 0
        << QStringList{"Вся группа.pdf", "Офис.pdf", "Продажи.pdf", "Склад.pdf"} << false;
    QTest::newRow("a pack by sub-folder: one department too small, so the other gets none either")
        << QStringList{"report", "{dir}/depts", "--by", "folder", "--min", "3", "-o", "{dir}/out"} << 0
        << QStringList{"Вся группа.pdf"} << true;
    QTest::newRow("a pack needs a folder to go to") << QStringList{"report", "{dir}/firm", "--by", "info1"} << 2 << QStringList{}
                                                    << false;
    QTest::newRow("a threshold below 3 is refused")
        << QStringList{"report", "{dir}/firm", "--by", "info1", "--min", "2", "-o", "{dir}/out"} << 2 << QStringList{} << false;
}

void TestZolkCry::reports()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, files);
    QFETCH(bool, leftOut);
    QTemporaryDir dir;
    writeMembers(dir.filePath(QStringLiteral("firm")), Firm);
    writeMembers(dir.filePath(QStringLiteral("depts/Отдел 1")), Firm.mid(0, 5));
    writeMembers(dir.filePath(QStringLiteral("depts/Отдел 2")), Firm.mid(5, 2));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("out")));
    const QMap<QString, QByteArray> firm = snapshot(dir.filePath(QStringLiteral("firm")));
    const Run result = run(substituted(arguments, dir.path()));
    QVERIFY2(result.exitCode == exitCode, result.err.constData());
    QCOMPARE(result.err.contains("zolk-cry"), leftOut || exitCode != 0);
    QStringList present = QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden);
    present.sort();
    QCOMPARE(present, files);
    QCOMPARE(snapshot(dir.filePath(QStringLiteral("firm"))), firm);
    for (const QString &file : files) {
        QFile pdf(dir.filePath(QStringLiteral("out/") + file));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (files.isEmpty() || pdftotext.isEmpty())
        return;
    // The title block from the options; a department's report compared with the whole group.
    QProcess text;
    const QString last = dir.filePath(QStringLiteral("out/") + files.last());
    text.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), last, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    if (arguments.contains(QStringLiteral("--company")))
        QVERIFY2(words.contains(QStringLiteral("ООО Тест")), qPrintable(words.left(300)));
    if (arguments.contains(QStringLiteral("--by")) && files.size() > 1)
        QVERIFY2(words.contains(QStringLiteral("Вся группа (")), qPrintable(words.left(300)));
}

namespace {

// An answer sheet as the template's header makes it, with answer words in some cells.
QByteArray answerSheet(const QList<std::array<int, 60>> &answers, const QStringList &codes)
{
    QStringList lines{Questionnaire::sheetHeader(Questionnaire::defaultCaptions()).join(u';')};
    for (int r = 0; r < answers.size(); ++r) {
        QStringList cells{QStringLiteral("02.04.2024"), codes[r], QStringLiteral("Респондент %1").arg(r + 1),
                          QStringLiteral("Отдел; 1"), QString(), QString(), QString()};
        for (int s = 0; s < 60; ++s) {
            const int a = answers[r][std::size_t(s)];
            cells << (a < 1 || a > 5 ? QString::number(a) : s % 4 == 0 ? Questionnaire::answerWord(a) : QString::number(a));
        }
        cells[3] = QStringLiteral("\"Отдел; 1\"");
        lines << cells.join(u';');
    }
    return "\xEF\xBB\xBF" + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

QList<std::array<int, 60>> sampleAnswers(int rows)
{
    QList<std::array<int, 60>> answers(rows);
    for (int r = 0; r < rows; ++r)
        for (int s = 0; s < 60; ++s)
            answers[r][std::size_t(s)] = 1 + (s * 3 + r * 7 + s / 5) % 5;
    return answers;
}

// The statement scores of a row of answers: reversed where the statement is worded negatively.
std::array<double, 60> scoredItems(const std::array<int, 60> &answers)
{
    std::array<double, 60> items{};
    for (int s = 1; s <= 60; ++s)
        items[std::size_t(s - 1)] = Questionnaire::isReversed(s) ? 6 - answers[std::size_t(s - 1)] : answers[std::size_t(s - 1)];
    return items;
}

} // namespace

void TestZolkCry::importRoundTrip()
{
    // An answer sheet imported by "zolk-cry import": every file decodes ("zolk-cry decode") to the
    // layout the reader reads, the folder read back as a group has exactly the sheet's scores, and
    // "zolk-cry scores" of the folder gives the answers after reverse scoring.
    QTemporaryDir dir;
    const QStringList config{QStringLiteral("XDG_CONFIG_HOME=") + dir.filePath(QStringLiteral("config"))};
    const QList<std::array<int, 60>> answers = sampleAnswers(3);
    const QStringList codes{QStringLiteral("A-01"), QStringLiteral("A-02"), QStringLiteral("A-03")};
    const QString sheet = TestSupport::writeStoredFile(dir.path(), QStringLiteral("ответы.csv"), answerSheet(answers, codes));
    const QString folder = dir.filePath(QStringLiteral("группа"));
    const Run imported = run({QStringLiteral("import"), sheet, QStringLiteral("-o"), folder}, QByteArray(), config);
    QVERIFY2(imported.exitCode == 0, imported.err.constData());
    QVERIFY(QString::fromLocal8Bit(imported.out).contains(QStringLiteral("3")));
    QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("zolk-import-map.txt"))));

    for (int r = 0; r < 3; ++r) {
        const QString file = QDir(folder).filePath(codes[r] + QStringLiteral(".cry"));
        const Run decoded = run({QStringLiteral("decode"), file, QStringLiteral("-o"), dir.filePath(QStringLiteral("plain.txt"))});
        QCOMPARE(decoded.exitCode, 0);
        QFile plainFile(dir.filePath(QStringLiteral("plain.txt")));
        QVERIFY(plainFile.open(QIODevice::ReadOnly));
        const QByteArray plain = plainFile.readAll();
        const QStringList lines = Cp1251::decode(plain).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 82); // 81 lines, each ending with CR LF
        QCOMPARE(lines.mid(0, 4), (QStringList{QStringLiteral("02.04.2024"), codes[r], QStringLiteral("Респондент %1").arg(r + 1),
                                               QStringLiteral("Отдел; 1")}));
        const std::array<double, 60> items = scoredItems(answers[r]);
        for (int s = 1; s <= 60; ++s)
            QCOMPARE(lines[20 + s], Scoring::formatFixed(items[std::size_t(s - 1)], 2, QLocale(QLocale::Russian)));
        const Outcome<ResultRecord> record = ResultFile::parsePlainText(Cp1251::decode(plain));
        QVERIFY(record.ok());
        for (int i = 0; i < 12; ++i) {
            double sum = 0;
            for (int k = 0; k < 5; ++k)
                sum += items[std::size_t(i * 5 + k)];
            QCOMPARE(record->indexScores[std::size_t(i)], sum / 5);
        }
    }

    const Outcome<ProfileLoader::GroupLoad> group = ProfileLoader::loadFolder(folder);
    QVERIFY(group.ok());
    QCOMPARE(group->profile.respondentCount(), 3);
    for (qsizetype m = 0; m < 3; ++m) {
        const int r = int(codes.indexOf(group->profile.members->header(m).code));
        const std::array<double, 60> items = scoredItems(answers[r]);
        QCOMPARE(group->profile.members->itemScores(m), items);
    }

    // What a spreadsheet reads of "zolk-cry scores": the statement columns are the scored answers.
    const QString csv = dir.filePath(QStringLiteral("scores.csv"));
    QCOMPARE(run({QStringLiteral("scores"), folder, QStringLiteral("-o"), csv}).exitCode, 0);
    QFile scores(csv);
    QVERIFY(scores.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(scores.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 1 + 3 + 1); // header, three members, the group's mean
    for (int k = 1; k <= 3; ++k) {
        QStringList fields;
        for (const QString &field : rows[k].split(u','))
            fields << field;
        const int r = int(codes.indexOf(fields[1]));
        QVERIFY2(r >= 0, qPrintable(rows[k]));
        const std::array<double, 60> items = scoredItems(answers[r]);
        for (int s = 1; s <= 60; ++s)
            QCOMPARE(fields[fields.size() - 61 + s].toDouble(), items[std::size_t(s - 1)]);
    }
}

void TestZolkCry::importRefuses_data()
{
    QTest::addColumn<QStringList>("arguments"); // {sheet}: the sheet, {dir}: the temporary folder
    QTest::addColumn<int>("badRow");            // a row (of the spreadsheet, header 1) with an answer of 7; 0: none
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");       // on standard error
    QTest::addColumn<int>("files");             // result files written
    QTest::addColumn<QStringList>("codes");     // of the rows; empty: 1, 2, 3
    const QStringList codes;
    QTest::newRow("a bad row: nothing written") << QStringList{"import", "{sheet}", "-o", "{dir}/out"} << 3 << 1
                                                << "row 3: the answer to statement" << 0 << codes;
    QTest::newRow("a bad row skipped") << QStringList{"import", "{sheet}", "-o", "{dir}/out", "--skip-bad"} << 3 << 0
                                       << "skipped: row 3: the answer to statement" << 2 << codes;
    QTest::newRow("no folder given") << QStringList{"import", "{sheet}"} << 0 << 2 << "missing option -o FOLDER" << 0 << codes;
    QTest::newRow("a map the sheet does not fit") << QStringList{"import", "{sheet}", "-o", "{dir}/out", "--map", "{dir}/map.txt"}
                                                  << 0 << 1 << "s5: the sheet has no column 500" << 0 << codes;
    QTest::newRow("a sheet that is not there") << QStringList{"import", "{dir}/none.csv", "-o", "{dir}/out"} << 0 << 1
                                               << "Cannot open file" << 0 << codes;
    // One code in 2,000 rows: one line naming the first rows, not 2,000 lines naming them all.
    QTest::newRow("one code in every row") << QStringList{"import", "{sheet}", "-o", "{dir}/out"} << 0 << 1
                                           << "rows 2, 3, 4, 5, 6 … and 1995 more: the code «7» is in more than one row" << 0
                                           << QStringList(2000, QStringLiteral("7"));
    const QStringList kazakh{QStringLiteral("Әлия"), QStringLiteral("2"), QStringLiteral("3")};
    QTest::newRow("characters windows-1251 lacks: nothing written")
        << QStringList{"import", "{sheet}", "-o", "{dir}/out"} << 0 << 1 << "U+04D8" << 0 << kazakh;
    QTest::newRow("characters windows-1251 lacks, replaced when asked")
        << QStringList{"import", "{sheet}", "-o", "{dir}/out", "--replace-unstorable"} << 0 << 0 << "U+04D8" << 3 << kazakh;
#ifdef Q_OS_UNIX
    QTest::newRow("a FIFO as map") << QStringList{"import", "{sheet}", "-o", "{dir}/out", "--map", "{dir}/fifo"} << 0 << 1
                                   << "it is not a regular file" << 0 << codes;
#endif
}

void TestZolkCry::importRefuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, badRow);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(int, files);
    QFETCH(QStringList, codes);
    if (codes.isEmpty())
        codes = QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    QTemporaryDir dir;
    QList<std::array<int, 60>> answers = sampleAnswers(int(codes.size()));
    if (badRow > 0)
        answers[badRow - 2][9] = 7;
    const QString sheet = TestSupport::writeStoredFile(dir.path(), QStringLiteral("s.csv"), answerSheet(answers, codes));
    TestSupport::writeStoredFile(dir.path(), QStringLiteral("map.txt"), "s5 = #500\n");
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600), 0);
#endif
    for (QString &argument : arguments)
        argument.replace(QStringLiteral("{sheet}"), sheet).replace(QStringLiteral("{dir}"), dir.path());
    const Run result = run(arguments, QByteArray(), {QStringLiteral("XDG_CONFIG_HOME=") + dir.filePath(QStringLiteral("config"))});
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(QString::fromLocal8Bit(result.err).contains(message), result.err.left(4000).constData());
    // A report of a few lines, however many rows share a problem.
    QVERIFY2(result.err.size() < 4000, qPrintable(QStringLiteral("%1 bytes on standard error").arg(result.err.size())));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList({QStringLiteral("*.cry")}).size(), files);
    if (files == 0)
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out"))));
}

void TestZolkCry::questionnaire_data()
{
    QTest::addColumn<bool>("asksName");
    QTest::newRow("with the name") << true;
    QTest::newRow("--no-name") << false;
}

void TestZolkCry::questionnaire()
{
    // The questionnaire and the template, with the captions set in the window (here: in a
    // configuration folder of the test's own); an anonymous template has no name column.
    QFETCH(bool, asksName);
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config"));
    QDir().mkpath(config + QStringLiteral("/zolk-plot"));
    TestSupport::writeStoredFile(config + QStringLiteral("/zolk-plot"), QStringLiteral("questionnaire.ini"),
                                 QStringLiteral("[captions]\ninfo1=Цех\n").toUtf8());
    const QString pdf = dir.filePath(QStringLiteral("анкета.pdf"));
    const QString csv = dir.filePath(QStringLiteral("шаблон.csv"));
    QStringList arguments{QStringLiteral("questionnaire"), QStringLiteral("-o"), pdf, QStringLiteral("--template"), csv};
    if (!asksName)
        arguments << QStringLiteral("--no-name");
    const Run result = run(arguments, QByteArray(), {QStringLiteral("XDG_CONFIG_HOME=") + config});
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("%PDF"));
    QFile sheet(csv);
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    const Outcome<AnswerSheet::Sheet> read = AnswerSheet::readSheet(sheet.readAll(), csv);
    QVERIFY(read.ok());
#ifdef Q_OS_WIN
    // Windows finds the configuration folder without asking the environment: the captions are
    // the user's own there, and only the template's shape is checked.
    QCOMPARE(read->header.size(), Questionnaire::sheetHeader(Questionnaire::defaultCaptions(), asksName).size());
#else
    Questionnaire::Captions captions = Questionnaire::defaultCaptions();
    captions[0] = QStringLiteral("Цех");
    QCOMPARE(read->header, Questionnaire::sheetHeader(captions, asksName));
#endif
}

QTEST_GUILESS_MAIN(TestZolkCry)
#include "tst_zolkcry.moc"
