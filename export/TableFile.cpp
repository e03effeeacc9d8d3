#include "TableFile.h"

#include "CsvTable.h"
#include "FileOutput.h"
#include "XlsxTable.h"

#include <QFileInfo>

namespace TableFile {

bool isWorkbook(const QString &path)
{
    return path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
}

Outcome<> write(const QString &path, const Table &table, const QLocale &locale)
{
    if (isWorkbook(path)) {
        const QString folder = FileOutput::isStream(path) ? QString() : QFileInfo(path).absolutePath();
        const Outcome<QByteArray> workbook = XlsxTable::workbook(table, {}, folder);
        if (!workbook)
            return Outcome<>::failed(FileOutput::cannotCreateMessage(path) + u'\n' + workbook.message());
        return FileOutput::write(path, *workbook);
    }
    // Row by row: the scores of a large group are never held as one text.
    OutputFile out(path);
    if (Outcome<> opened = out.open(); !opened)
        return opened;
    out.write(CsvTable::header(table, locale));
    QList<TableCell> cells;
    for (qsizetype k = 0; k < table.rowCount; ++k)
        if (!out.write(CsvTable::row(table, k, locale, cells)))
            break;
    return out.commit();
}

} // namespace TableFile
