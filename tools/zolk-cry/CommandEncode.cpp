// zolk-cry encode [FILE]: the letters of a result file from its plaintext.

#include "Command.h"

#include "Cp1251.h"
#include "ResultFile.h"
#include "UnitPC1.h"

#include <QFile>
#include <QStringDecoder>

namespace Cry {
namespace {

// No more than this is read of the input: beyond it, no plaintext fits into a result file even in
// UTF-8, where a character of windows-1251 takes at most three bytes.
constexpr qint64 MaxInputBytes = 3 * qint64(UnitPC1::MaxPlainTextLength);

CommandHelp encodeHelp()
{
    CommandHelp help;
    help.arguments = QStringLiteral("[%1]").arg(ZolkCry::tr("FILE"));
    help.summary = ZolkCry::tr("Enciphers a plaintext into the letters of a result file.");
    help.description = ZolkCry::tr("Reads a plaintext from FILE, or from standard input where FILE is \"-\" or not given, in\n"
                                 "UTF-8 (windows-1251 bytes with --raw), and writes the enciphered letters of a result file.");
    help.options = {QCommandLineOption(QStringLiteral("raw"), ZolkCry::tr("Reads the plaintext as windows-1251 bytes, unchanged."))};
    help.maxArguments = 1;
    return help;
}

Outcome<QByteArray> readInput(const QString &path)
{
    QFile file;
    const bool standardInput = path == QLatin1String("-");
    if (standardInput ? !file.open(stdin, QIODevice::ReadOnly) : (file.setFileName(path), !file.open(QIODevice::ReadOnly))) {
        if (standardInput)
            return Outcome<QByteArray>::failed(ZolkCry::tr("Cannot read standard input.") + u'\n' + file.errorString());
        return Outcome<QByteArray>::failed(ResultFile::cannotOpenMessage(path) + u'\n' + file.errorString());
    }
    QByteArray data = file.read(MaxInputBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Outcome<QByteArray>::failed(
            (standardInput ? ZolkCry::tr("Cannot read standard input.") : ResultFile::cannotOpenMessage(path)) + u'\n' + file.errorString());
    return data;
}

int encode(const Invocation &invocation)
{
    const QString path = invocation.arguments.value(0, QStringLiteral("-"));
    if (path != QLatin1String("-")) {
        if (const Outcome<> usable = checkOutput(invocation.output, {path}); !usable)
            return fail(usable.message());
    }
    const Outcome<QByteArray> input = readInput(path);
    if (!input)
        return fail(input.message());
    if (input->size() > MaxInputBytes)
        return fail(ZolkCry::tr("The text holds more than %1 bytes; a result file holds at most %2.")
                        .arg(MaxInputBytes)
                        .arg(UnitPC1::MaxPlainTextLength));
    QByteArray plain;
    if (invocation.parser.isSet(QStringLiteral("raw"))) {
        plain = *input;
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(*input);
        if (utf8.hasError())
            return fail(ZolkCry::tr("The text is not UTF-8; windows-1251 bytes are read with --raw."));
        if (!Cp1251::canEncode(text))
            return fail(ZolkCry::tr("The text holds characters that windows-1251 cannot hold."));
        plain = Cp1251::encode(text);
    }
    if (plain.contains('\0'))
        return fail(ZolkCry::tr("The text holds a zero byte, which would end the plaintext."));
    if (plain.size() > UnitPC1::MaxPlainTextLength)
        return fail(ZolkCry::tr("The text holds %1 bytes; a result file holds at most %2.")
                        .arg(plain.size())
                        .arg(UnitPC1::MaxPlainTextLength));
    return writeOutput(invocation.output, UnitPC1::EncipherText(ResultFile::keyBytes(), plain));
}

} // namespace

Command encodeCommand()
{
    return {QStringLiteral("encode"), &encodeHelp, &encode};
}

} // namespace Cry
