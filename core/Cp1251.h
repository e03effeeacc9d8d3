#pragma once
// Single-byte windows-1251 text, the code page of result files and exported analyses, converted
// through a fixed table (no system converter is needed).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>

namespace Cp1251 {

// The character of one byte.
char16_t charOf(std::uint8_t byte);
QString decode(QByteArrayView bytes);
// Characters that windows-1251 cannot hold become '?'.
QByteArray encode(QStringView text);
// True when every character of text has a windows-1251 byte.
bool canEncode(QStringView text);

} // namespace Cp1251
