// zolk-cry: the result files of the culture questionnaire from the command line, for people and
// scripts. "zolk-cry help" lists the commands; each is one file beside this one.

#include "Command.h"
#include "Translations.h"
#include "Version.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>

#include <memory>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace Cry {
namespace {

// Qt's own messages of the command-line parser, translated with the program's texts: zolk-cry
// loads no translation of Qt's.
[[maybe_unused]] const char *const ParserTexts[] = {
    QT_TRANSLATE_NOOP("QCommandLineParser", "Missing value after '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unexpected value after '%1'."),
};

// Why the parser refused the arguments, in one line.
QString parseError(const QCommandLineParser &parser, const QStringList &arguments, const QList<QCommandLineOption> &options)
{
    if (!parser.unknownOptionNames().isEmpty())
        return ZolkCry::tr("unknown option '%1'").arg(dashed(parser.unknownOptionNames().first()));
    // "--utf8=yes": a value given to an option that takes none.
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--"))
            break;
        const QString name = argument.section(u'=', 0, 0);
        if (!argument.startsWith(QLatin1String("--")) || !argument.contains(u'='))
            continue;
        for (const QCommandLineOption &option : options)
            if (option.valueName().isEmpty() && option.names().contains(name.mid(2)))
                return ZolkCry::tr("option '%1' takes no value").arg(name);
    }
    // The parser takes the argument after an option with a value whatever it is, so a value is
    // missing only after the last argument.
    if (!arguments.isEmpty()) {
        for (const QCommandLineOption &option : options) {
            if (option.valueName().isEmpty())
                continue;
            for (const QString &name : option.names())
                if (arguments.last() == dashed(name))
                    return ZolkCry::tr("option '%1' needs a value").arg(arguments.last());
        }
    }
    return parser.errorText();
}

QString generalHelp(const QList<Command> &commands)
{
    QString text = ZolkCry::tr("Usage:") + u'\n';
    for (const Command &command : commands)
        text += QStringLiteral("  %1\n").arg(synopsis(command));
    text += QStringLiteral("  zolk-cry help [%1]\n  zolk-cry --version\n").arg(ZolkCry::tr("COMMAND"));
    text += u'\n'
            + ZolkCry::tr("Deciphers, enciphers and scores the result files (.cry) of the culture questionnaire.")
            + QStringLiteral("\n\n") + ZolkCry::tr("Commands:") + u'\n';
    qsizetype width = QStringLiteral("help").size();
    for (const Command &command : commands)
        width = std::max(width, command.name.size());
    for (const Command &command : commands)
        text += QStringLiteral("  %1  %2\n").arg(command.name.leftJustified(width), command.help().summary);
    text += QStringLiteral("  %1  %2\n").arg(QStringLiteral("help").leftJustified(width),
                                             ZolkCry::tr("Describes a command and its options."));
    text += u'\n' + ZolkCry::tr("Options:") + u'\n';
    text += QStringLiteral("  -h, --help     %1\n").arg(ZolkCry::tr("Shows this help."));
    text += QStringLiteral("  -v, --version  %1\n").arg(ZolkCry::tr("Shows the version of zolk-cry."));
    text += u'\n'
            + ZolkCry::tr("Exit status: 0 when the command did its work; 1 when it could not (the reason is on\n"
                        "standard error); 2 when the command line is wrong.")
            + u'\n';
    return text;
}

int runCommand(const Command &command, const QStringList &arguments)
{
    const CommandHelp help = command.help();
    QCommandLineParser parser;
    QList<QCommandLineOption> options = help.options;
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")}, QString(), ZolkCry::tr("OUTPUT"));
    if (help.output)
        options << outputOption;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    options << helpOption;
    parser.addOptions(options);
    if (!parser.parse(arguments))
        return usageError(parseError(parser, arguments, options));
    if (parser.isSet(helpOption)) {
        printText(stdout, commandHelpText(command));
        return Success;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < help.minArguments)
        return usageError(ZolkCry::tr("missing argument %1").arg(help.argumentName));
    if (help.maxArguments >= 0 && positional.size() > help.maxArguments)
        return usageError(ZolkCry::tr("unexpected argument '%1'").arg(positional.at(help.maxArguments)));
    QString output = QStringLiteral("-");
    if (help.output && parser.isSet(outputOption)) {
        const QStringList outputs = parser.values(outputOption);
        if (outputs.size() > 1)
            return usageError(ZolkCry::tr("option '-o' given more than once"));
        if (outputs.first().isEmpty())
            return usageError(ZolkCry::tr("option '-o' needs a value"));
        output = outputs.first();
    }
    return command.run({parser, positional, output});
}

int run(const QList<Command> &commands, const QStringList &arguments)
{
    QCommandLineParser parser;
    // Everything after the command is the command's own, options included.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({helpOption, versionOption});
    if (!parser.parse(arguments))
        return usageError(parseError(parser, arguments, {helpOption, versionOption}));
    if (parser.isSet(versionOption)) {
        printText(stdout, QStringLiteral("zolk-cry %1\n").arg(QCoreApplication::applicationVersion()));
        return Success;
    }
    const QStringList positional = parser.positionalArguments();
    const bool helpCommand = !positional.isEmpty() && positional.first() == QLatin1String("help");
    if (parser.isSet(helpOption) || helpCommand) {
        // "help" or "--help", alone or with the command to describe.
        const QStringList topics = helpCommand ? positional.mid(1) : positional;
        if (topics.size() > 1)
            return usageError(ZolkCry::tr("unexpected argument '%1'").arg(topics.at(1)));
        const QString topic = topics.value(0);
        if (topic.isEmpty() || topic == QLatin1String("help")) {
            printText(stdout, generalHelp(commands));
            return Success;
        }
        for (const Command &command : commands) {
            if (command.name == topic) {
                printText(stdout, commandHelpText(command));
                return Success;
            }
        }
        return usageError(ZolkCry::tr("unknown command '%1'").arg(topic));
    }
    if (positional.isEmpty())
        return usageError(ZolkCry::tr("no command given"));
    for (const Command &command : commands) {
        if (command.name == positional.first())
            return runCommand(command, QStringList{arguments.first() + u' ' + command.name} + positional.mid(1));
    }
    return usageError(ZolkCry::tr("unknown command '%1'").arg(positional.first()));
}

} // namespace
} // namespace Cry

int main(int argc, char *argv[])
{
    // The arguments as the system passed them (on Windows in UTF-16, so that any file name works).
    // The questionnaire and the report are drawn with fonts, which only a GUI application has: for
    // them zolk-cry starts as one, on the offscreen platform (no display needed) where no platform is
    // chosen.
    const bool drawsPages = argc > 1 && (qstrcmp(argv[1], "questionnaire") == 0 || qstrcmp(argv[1], "report") == 0);
#ifndef Q_OS_WIN
    if (drawsPages && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    const std::unique_ptr<QCoreApplication> application =
        drawsPages ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("zolk-cry"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZOLK_VERSION));
    if (Translations::isRussian(QLocale::system()))
        Translations::installRussian(app);
#ifdef Q_OS_WIN
    // Plaintext and letters pass byte for byte: no CR added before LF, none taken away.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    using namespace Cry;
    // One line per command.
    const QList<Command> commands = {
        decodeCommand(),
        encodeCommand(),
        scoresCommand(),
        segmentsCommand(),
        spreadCommand(),
        questionnaireCommand(),
        importCommand(),
        reliabilityCommand(),
        itemsCommand(),
        differencesCommand(),
        agreementCommand(),
        archiveCommand(), normsCommand(), trendCommand(),
        reportCommand(),
    };
    return run(commands, QCoreApplication::arguments());
}
