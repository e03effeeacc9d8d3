#pragma once
// The shared parts of zolk-cry's commands: how a command describes itself to the parser and the
// help, the exit codes, the messages on standard error and the writing of the output.
//
// A command is one file (CommandDecode.cpp, ...) that defines its Command, declared at the end of
// this header, and one line in the list of commands in main.cpp.

#include "GroupArithmetic.h"
#include "Outcome.h"
#include "Profile.h"
#include "ProfileLoader.h"
#include "Table.h"

#include <QByteArrayView>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>

// The context of zolk-cry's texts: ZolkCry::tr("...").
class ZolkCry
{
    Q_DECLARE_TR_FUNCTIONS(ZolkCry)
};

namespace Cry {

// The exit status a script sees.
enum Exit {
    Success = 0,
    Failed = 1,     // the command ran and could not do its work (a file, a write, a refused output)
    UsageError = 2, // the command line itself is wrong: nothing was read or written
};

// What a command tells the parser and the help. The texts are in the user's language, so a command
// describes itself only once the translation is installed.
struct CommandHelp
{
    QString arguments;   // the arguments in the synopsis, e.g. "FILE" or "[FILE]"
    QString summary;     // one line in the list of commands
    QString description; // the paragraphs of "zolk-cry help COMMAND"
    QList<QCommandLineOption> options; // besides -h; -o is added where output is true
    int minArguments = 0;
    int maxArguments = 0; // -1: no limit
    bool output = true;   // writes to standard output or to -o OUTPUT
    QString argumentName; // named in "missing argument ..."
};

// A parsed command line, as a command receives it.
struct Invocation
{
    const QCommandLineParser &parser;
    QStringList arguments; // the positional arguments
    QString output;        // "-" for standard output
};

struct Command
{
    QString name;
    CommandHelp (*help)();
    int (*run)(const Invocation &);
};

// An option's name as typed: "-o", "--output".
QString dashed(const QString &name);
// "zolk-cry: message" on standard error, the message's further lines as they are; returns Failed.
int fail(const QString &message);
// A wrong command line: the reason and where to find help; returns UsageError.
int usageError(const QString &reason);
// Text for the user on a stream: on a Windows console in its own characters, elsewhere in the
// locale's encoding.
void printText(std::FILE *stream, const QString &text);

// The synopsis of a command, e.g. "zolk-cry decode FILE [--utf8] [-o OUTPUT]".
QString synopsis(const Command &command);
QString commandHelpText(const Command &command);

// True where output is standard output and that is a terminal.
bool outputIsTerminal(const QString &output);
// Refuses an output that would replace one of the input files or lie inside one of the input
// folders (a later run would read it as input). A stream output is never refused here.
Outcome<> checkOutput(const QString &output, const QStringList &inputFiles, const QStringList &inputFolders = {});
// Writes data whole to output (a regular file is replaced only once all is written); on failure
// names the reason and returns Failed.
int writeOutput(const QString &output, QByteArrayView data);
// Text for a terminal: on a Windows console in its own characters, elsewhere as UTF-8.
int writeTerminalText(const QString &text);

// "zolk-cry: FOLDER: result files read: N of M" on standard error while a long command runs, where
// standard error is a terminal; the line is cleared once the work is done.
class ProgressLine
{
public:
    explicit ProgressLine(QString what);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    void report(qsizetype done, qsizetype total);
    void clear();

private:
    const QString m_what;
    const bool m_terminal;
    QElapsedTimer m_sinceShown;
    qsizetype m_width = 0;
};

// The folder that holds all the given files and folders, ending with '/', to which the names in a
// table are relative.
QString commonFolder(const QStringList &folders);
// "zolk-cry: skipped: message" on standard error, for an input left out with --skip-bad.
void reportSkipped(const QString &message);
// One folder read as a group with the progress line; with skipBad, the members left out are named
// on standard error, and with namesRepeats the respondents counted once and the codes on several
// different files (the command still succeeds).
Outcome<ProfileLoader::GroupLoad> loadFolder(const QString &folder, bool skipBad, bool namesRepeats = true);
// "zolk-cry: ..." on standard error naming the repeated members (GroupRepeats::message), if any.
void reportRepeats(const GroupRepeats::Found &repeats);
// The members of the given folders as one group, read with the progress line. One folder is the
// group as the window loads it; the members of several are named with their folder relative to the
// folder that holds them all ("sales/a.cry", "store/Отдел 1/b.cry"), so that a split by sub-folder
// tells the folders apart. A respondent reached twice (a folder named twice, a folder and one of its
// sub-folders, a copy) counts once and is named on standard error. With skipBad, a member or a folder that cannot be read is left out and
// named on standard error; the group fails only when nothing can be read.
Outcome<Profile> readGroup(const QStringList &folders, bool skipBad);
// Writes a table to output: an Excel workbook for "*.xlsx", CSV otherwise; on failure names the
// reason and returns Failed.
int writeTable(const Table &table, const QString &output);
// The split of a group into segments and the threshold below which a segment shows no scores, as
// --by and --min give them (--min 5 unless given, never below 3).
struct SegmentChoice
{
    GroupArithmetic::SplitBy by = GroupArithmetic::SplitBy::Folder;
    int minimum = 0;
};
// Reads --by and --min into choice: Success, or the exit of the usage error it reported.
int segmentChoice(const QCommandLineParser &parser, SegmentChoice &choice);

// The commands.
Command decodeCommand();
Command encodeCommand();
Command scoresCommand();
Command segmentsCommand();
Command spreadCommand();
Command questionnaireCommand();
Command importCommand();
Command reliabilityCommand();
Command itemsCommand();
Command differencesCommand();
Command agreementCommand();
// The survey archive: archive add|list|remove, norms, trend.
Command archiveCommand();
Command normsCommand();
Command trendCommand();
Command reportCommand();

} // namespace Cry
