// zolk-cry decode FILE: the plaintext of a result file.

#include "Command.h"

#include "Cp1251.h"
#include "ResultFile.h"
#include "UnitPC1.h"

namespace Cry {
namespace {

CommandHelp decodeHelp()
{
    CommandHelp help;
    help.arguments = ZolkCry::tr("FILE");
    help.argumentName = help.arguments;
    help.summary = ZolkCry::tr("Writes the plaintext of a result file.");
    help.description = ZolkCry::tr("Deciphers the result file FILE (.cry) and writes its plaintext: to a terminal as text the\n"
                                 "terminal shows, to a file or a pipe byte for byte as the file holds it (windows-1251 with\n"
                                 "CR LF line ends). A file that does not read as a result file is refused.");
    help.options = {QCommandLineOption(QStringLiteral("utf8"), ZolkCry::tr("Writes the plaintext in UTF-8 also to a file or a pipe."))};
    help.minArguments = 1;
    help.maxArguments = 1;
    return help;
}

int decode(const Invocation &invocation)
{
    const QString path = invocation.arguments.first();
    if (const Outcome<> usable = checkOutput(invocation.output, {path}); !usable)
        return fail(usable.message());
    const Outcome<QByteArray> stored = ResultFile::readStoredBytes(path);
    if (!stored)
        return fail(stored.message());
    const QByteArray prepared = ResultFile::prepareStoredText(*stored);
    if (prepared.size() > UnitPC1::MaxStoredTextLength)
        return fail(ResultFile::tooLargeMessage(path));
    const QByteArray plain = UnitPC1::DecipherText(ResultFile::keyBytes(), prepared);
    // Only what reads as a result file is written: anything else deciphers to meaningless bytes.
    if (const Outcome<StoredRecord> record = ResultFile::parsePlainBytes(plain, path); !record)
        return fail(record.message());
    if (invocation.parser.isSet(QStringLiteral("utf8")))
        return writeOutput(invocation.output, Cp1251::decode(plain).toUtf8());
    if (outputIsTerminal(invocation.output))
        return writeTerminalText(Cp1251::decode(plain));
    return writeOutput(invocation.output, plain);
}

} // namespace

Command decodeCommand()
{
    return {QStringLiteral("decode"), &decodeHelp, &decode};
}

} // namespace Cry
