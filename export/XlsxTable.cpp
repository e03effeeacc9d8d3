#include "XlsxTable.h"

#include "TableRows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TemporaryFiles.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include <xlsxwriter.h>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <clocale>
#include <locale.h>
#endif

namespace XlsxTable {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("XlsxTable", text);
}

// Excel's limits: rows and columns of a sheet, characters of a cell.
constexpr qsizetype MaxRows = LXW_ROW_MAX;
constexpr qsizetype MaxColumns = LXW_COL_MAX;
constexpr qsizetype MaxCellCharacters = 32767;
constexpr qsizetype MaxSheetName = 31;

// Column widths in characters of the standard font.
constexpr double MinWidth = 8.43;
constexpr double MaxWidth = 60.0;
constexpr qsizetype NumberCharacters = 11; // what General shows of a long fraction

// The numbers of a workbook are written with a dot whatever the user's locale. Debian's
// libxlsxwriter formats them with the C library's printf, which follows the numeric locale (Qt sets
// the user's at start: "2,6" under ru_RU, which spreadsheets reject), so the writing thread uses the
// "C" numeric locale while the workbook is made and gets its own back afterwards. The Windows build
// of the library formats numbers itself and is not affected.
class ClassicNumbers
{
public:
    ClassicNumbers()
    {
#ifndef Q_OS_WIN
        const locale_t base = duplocale(uselocale(locale_t(0)));
        if (!base)
            return;
        m_locale = newlocale(LC_NUMERIC_MASK, "C", base);
        if (!m_locale) {
            freelocale(base);
            return;
        }
        m_previous = uselocale(m_locale);
#endif
    }
    ~ClassicNumbers()
    {
#ifndef Q_OS_WIN
        if (m_locale) {
            uselocale(m_previous);
            freelocale(m_locale);
        }
#endif
    }
    ClassicNumbers(const ClassicNumbers &) = delete;
    ClassicNumbers &operator=(const ClassicNumbers &) = delete;

    // True when the C library writes 2.5 with a dot in this thread.
    static bool inEffect()
    {
#ifdef Q_OS_WIN
        return true;
#else
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 2.5);
        return std::strcmp(text, "2.5") == 0;
#endif
    }

private:
#ifndef Q_OS_WIN
    locale_t m_locale = locale_t(0);
    locale_t m_previous = locale_t(0);
#endif
};

// A workbook being written, freed when given up on (a failure or a cancel) without being packed,
// which for a long table takes seconds: the sheet's temporary file, which only packing would
// close, is closed here, and what is left in the temporary folder goes with it.
class Workbook
{
public:
    explicit Workbook(lxw_workbook *book) : m_book(book) {}
    ~Workbook()
    {
        if (!m_book)
            return;
        for (lxw_worksheet *sheet : m_sheets) {
            if (sheet->optimize_tmpfile)
                std::fclose(sheet->optimize_tmpfile);
            sheet->optimize_tmpfile = nullptr;
            sheet->file = nullptr;
        }
        lxw_workbook_free(m_book);
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    explicit operator bool() const { return m_book != nullptr; }
    lxw_workbook *get() const { return m_book; }
    lxw_worksheet *addSheet(const char *name)
    {
        lxw_worksheet *sheet = workbook_add_worksheet(m_book, name);
        if (sheet)
            m_sheets.push_back(sheet);
        return sheet;
    }
    // Packs the workbook into its file and frees it.
    lxw_error close() { return workbook_close(std::exchange(m_book, nullptr)); }

private:
    lxw_workbook *m_book;
    std::vector<lxw_worksheet *> m_sheets;
};

// A folder's name as libxlsxwriter passes it to the C library's 8-bit calls, which open its
// temporary files and (in the Windows build) the workbook file. On Windows these take the ANSI code
// page: a folder whose name that code page cannot hold (a Cyrillic user name under a Western code
// page) is given by its short 8.3 name, which is ASCII.
QByteArray nativeFolderName(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    const QByteArray encoded = QFile::encodeName(native);
#ifdef Q_OS_WIN
    if (QFile::decodeName(encoded) != native) {
        const std::wstring wide = native.toStdWString();
        wchar_t shortName[MAX_PATH + 1];
        const DWORD length = GetShortPathNameW(wide.c_str(), shortName, MAX_PATH + 1);
        if (length > 0 && length <= MAX_PATH)
            return QFile::encodeName(QString::fromWCharArray(shortName, int(length)));
    }
#endif
    return encoded;
}

// A text as a workbook can hold it: characters that XML cannot carry (NUL, U+FFFE, U+FFFF) become
// the replacement character; libxlsxwriter writes the other control characters as _xHHHH_. A text
// that holds such a code literally ("_x0041_") has its underscore written as _x005F_, so that a
// spreadsheet reads back the text and not the character the code stands for.
QByteArray cellText(const QString &text)
{
    const auto unfit = [](QChar c) { return c.unicode() == 0 || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF; };
    const auto isHex = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    const auto codeAt = [&](const QString &t, qsizetype k) {
        if (k + 7 > t.size() || t[k] != u'_' || (t[k + 1] != u'x' && t[k + 1] != u'X') || t[k + 6] != u'_')
            return false;
        return isHex(t[k + 2]) && isHex(t[k + 3]) && isHex(t[k + 4]) && isHex(t[k + 5]);
    };
    if (std::none_of(text.cbegin(), text.cend(), unfit) && !text.contains(QStringLiteral("_x"), Qt::CaseInsensitive))
        return text.toUtf8();
    QString fitted;
    fitted.reserve(text.size() + 16);
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (codeAt(text, k))
            fitted += QStringLiteral("_x005F_");
        else
            fitted += unfit(text[k]) ? QChar(QChar::ReplacementCharacter) : text[k];
    }
    return fitted.toUtf8();
}

qsizetype numberCharacters(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::min<qsizetype>(result.ptr - buffer, NumberCharacters);
}

QString failed(lxw_error error)
{
    return tr("The workbook could not be written: %1").arg(QString::fromUtf8(lxw_strerror(error)));
}

} // namespace

QString sheetName(const QString &name)
{
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    QString sheet;
    sheet.reserve(name.size());
    for (const QChar c : name) {
        const bool unfit = forbidden.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7F
                           || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF;
        sheet += unfit ? QChar(u'_') : c;
    }
    const auto trimApostrophes = [&sheet] {
        while (sheet.startsWith(u'\''))
            sheet.remove(0, 1);
        while (sheet.endsWith(u'\''))
            sheet.chop(1);
    };
    trimApostrophes();
    if (sheet.size() > MaxSheetName) {
        // Never half a surrogate pair at the end.
        sheet.truncate(sheet.at(MaxSheetName - 1).isHighSurrogate() ? MaxSheetName - 1 : MaxSheetName);
        trimApostrophes();
    }
    if (sheet.isEmpty())
        return QStringLiteral("Лист1");
    if (sheet.compare(QLatin1String("History"), Qt::CaseInsensitive) == 0)
        sheet += u'_';
    return sheet;
}

Outcome<QByteArray> workbook(const Table &table, const Progress &progress, const QString &temporaryIn)
{
    using Result = Outcome<QByteArray>;
    const qsizetype columnCount = table.columns.size();
    if (columnCount > MaxColumns)
        return Result::failed(tr("The table has %1 columns; a worksheet holds at most %2.")
                                  .arg(columnCount)
                                  .arg(MaxColumns));
    if (table.rowCount < 0 || table.rowCount > MaxRows - 1)
        return Result::failed(tr("The table has %1 rows; a worksheet holds at most %2 besides its header.")
                                  .arg(table.rowCount)
                                  .arg(MaxRows - 1));

    // The temporary folder beside the output, hidden: nothing of the table is left in a shared
    // place should the program be stopped; the next workbook written there removes what is stale.
    const QString besides = temporaryIn.isEmpty() ? QDir::tempPath() : temporaryIn;
    TemporaryFiles::removeStale(besides);
    QTemporaryDir folder(QDir(besides).filePath(TemporaryFiles::prefix(QStringLiteral("xlsx")) + QStringLiteral("XXXXXX")));
    if (!folder.isValid())
        return Result::failed(tr("No temporary folder could be made in %1: %2")
                                  .arg(QDir::toNativeSeparators(besides), folder.errorString()));
    const QString path = folder.filePath(QStringLiteral("workbook.xlsx"));
    QByteArray temporaryFolder = nativeFolderName(folder.path());
    const QByteArray fileName = temporaryFolder + QDir::toNativeSeparators(QStringLiteral("/workbook.xlsx")).toLatin1();

    const ClassicNumbers classicNumbers;
    if (!ClassicNumbers::inEffect())
        return Result::failed(tr("The workbook could not be written: numbers would not be written with a dot."));

    // Constant memory: each row goes to a temporary file as soon as the next begins, so a hundred
    // thousand rows never sit in memory; texts are then stored in their cells.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = temporaryFolder.data();
    Workbook book(workbook_new_opt(fileName.constData(), &options));
    if (!book)
        return Result::failed(tr("The workbook could not be written: out of memory."));

    const QByteArray name = sheetName(table.name).toUtf8();
    lxw_worksheet *sheet = book.addSheet(name.constData());
    if (!sheet)
        return Result::failed(tr("The workbook could not be written: no temporary file could be made in %1")
                                  .arg(QDir::toNativeSeparators(folder.path())));
    lxw_format *bold = workbook_add_format(book.get());
    if (!bold)
        return Result::failed(failed(LXW_ERROR_MEMORY_MALLOC_FAILED));
    format_set_bold(bold);

    QList<double> widths(columnCount, 0.0);
    const auto widen = [&widths](qsizetype column, double characters) {
        widths[column] = std::max(widths[column], characters);
    };

    if (lxw_error error = worksheet_set_row(sheet, 0, LXW_DEF_ROW_HEIGHT, bold))
        return Result::failed(failed(error));
    for (qsizetype c = 0; c < columnCount; ++c) {
        const QString &title = table.columns.at(c);
        if (title.size() > MaxCellCharacters)
            return Result::failed(tr("The header of column %1 has %2 characters; a cell holds at most %3.")
                                      .arg(c + 1)
                                      .arg(title.size())
                                      .arg(MaxCellCharacters));
        if (lxw_error error = worksheet_write_string(sheet, 0, lxw_col_t(c), cellText(title).constData(), bold))
            return Result::failed(failed(error));
        widen(c, title.size() * 1.1); // bold letters are wider
    }

    QList<qsizetype> marked = table.markedRows;
    std::sort(marked.begin(), marked.end());
    auto nextMarked = marked.cbegin();
    QList<TableCell> cells;
    for (qsizetype k = 0; k < table.rowCount; ++k) {
        const auto row = lxw_row_t(k + 1);
        while (nextMarked != marked.cend() && *nextMarked < k)
            ++nextMarked;
        const bool isMarked = nextMarked != marked.cend() && *nextMarked == k;
        lxw_format *format = isMarked ? bold : nullptr;
        if (isMarked)
            if (lxw_error error = worksheet_set_row(sheet, row, LXW_DEF_ROW_HEIGHT, bold))
                return Result::failed(failed(error));

        produceRow(table, k, cells);
        for (qsizetype c = 0; c < columnCount; ++c) {
            const TableCell &cell = cells.at(c);
            lxw_error error = LXW_NO_ERROR;
            switch (cell.kind) {
            case TableCell::Kind::Empty:
                break;
            case TableCell::Kind::Text:
                if (cell.text.size() > MaxCellCharacters)
                    return Result::failed(
                        tr("Row %1, column \"%2\" holds %3 characters; a workbook cell holds at most %4.")
                            .arg(k + 1)
                            .arg(table.columns.at(c))
                            .arg(cell.text.size())
                            .arg(MaxCellCharacters));
                error = worksheet_write_string(sheet, row, lxw_col_t(c), cellText(cell.text).constData(), format);
                widen(c, cell.text.size());
                break;
            case TableCell::Kind::Number:
                // Infinities and NaN are no numbers a workbook can hold: the cell stays empty.
                if (!std::isfinite(cell.number))
                    break;
                error = worksheet_write_number(sheet, row, lxw_col_t(c), cell.number + 0.0, format); // -0 as 0
                if (widths[c] < NumberCharacters)
                    widen(c, numberCharacters(cell.number));
                break;
            }
            if (error)
                return Result::failed(failed(error));
        }
        const qsizetype written = k + 1;
        if (progress && (written % ProgressRows == 0 || written == table.rowCount) && !progress(written))
            return Result::cancelledByUser();
    }

    for (qsizetype c = 0; c < columnCount; ++c) {
        const double width = std::clamp(widths[c] + 2.0, MinWidth, MaxWidth);
        if (lxw_error error = worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr))
            return Result::failed(failed(error));
    }
    const int frozen = int(std::clamp<qsizetype>(table.frozenColumns, 0, columnCount));
    worksheet_freeze_panes(sheet, 1, lxw_col_t(frozen));

    if (lxw_error error = book.close())
        return Result::failed(failed(error) + tr(" (in the temporary folder %1)").arg(QDir::toNativeSeparators(folder.path())));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result::failed(tr("The workbook written to %1 could not be read back: %2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
    QByteArray bytes = file.readAll();
    if (bytes.isEmpty() || bytes.size() != file.size())
        return Result::failed(tr("The workbook written to %1 could not be read back: %2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
    return bytes;
}

} // namespace XlsxTable
