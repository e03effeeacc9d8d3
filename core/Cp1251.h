#pragma once
// Single-byte windows-1251 text, the code page of result files and exported analyses.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace Cp1251 {

QString decode(QByteArrayView bytes);
// Characters that windows-1251 cannot hold become '?'.
QByteArray encode(QStringView text);
// True when every character of text has a windows-1251 byte.
bool canEncode(QStringView text);

} // namespace Cp1251
