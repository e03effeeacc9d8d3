// libFuzzer target: any bytes as the stored text of a result file, through preparing, deciphering
// and parsing, and into a group's member table. A crash or a sanitizer report is a fault; a refused
// file is a normal result.

#include "MemberTable.h"
#include "ResultFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView stored(reinterpret_cast<const char *>(data), qsizetype(size));
    const Outcome<StoredRecord> outcome = ResultFile::parseStoredText(stored, QStringLiteral("fuzz.cry"));
    if (outcome.ok()) {
        // The header bytes lie within a plaintext of at most 33,000 bytes, and a member keeps every
        // score exactly as read.
        if (outcome->plain.size() > 33000)
            __builtin_trap();
        MemberTable table;
        table.appendRaw(QStringLiteral("fuzz.cry"), outcome->headerBytes(), outcome->indexScores, outcome->itemScores);
        const ItemScores items = table.itemScores(0);
        for (std::size_t s = 0; s < items.size(); ++s)
            if (items[s] != outcome->itemScores[s] && !(items[s] != items[s]))
                __builtin_trap();
        table.header(0);
    } else if (outcome.message().isEmpty()) {
        __builtin_trap();
    }
    // The plaintext itself, as a file that deciphered to arbitrary text, goes through the parser too.
    (void)ResultFile::parsePlainText(QString::fromLatin1(stored));
    return 0;
}
