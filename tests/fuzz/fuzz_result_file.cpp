// libFuzzer target: any bytes as the stored text of a result file, through preparing, deciphering
// and parsing. A crash or a sanitizer report is a fault; a refused file is a normal result.

#include "ResultFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView stored(reinterpret_cast<const char *>(data), qsizetype(size));
    const ReadOutcome outcome = ResultFile::parseStoredText(stored, QStringLiteral("fuzz.cry"));
    if (outcome.ok()) {
        // A record always carries all 72 scores and a plaintext of at most 33,000 bytes.
        if (outcome.record->plainText.size() > 33000)
            __builtin_trap();
    } else if (outcome.error.isEmpty()) {
        __builtin_trap();
    }
    // The plaintext itself, as a file that deciphered to arbitrary text, goes through the parser too.
    ResultFile::parsePlainText(QString::fromLatin1(stored));
    return 0;
}
