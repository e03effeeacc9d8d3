#include "ImportDialog.h"
#include "ScreenFit.h"

#include "SheetImport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A text of the sheet in one line, for a table cell or a list: line breaks shown as blanks.
QString oneLine(QString text)
{
    for (QChar &c : text)
        if (c == u'\n' || c == u'\r' || c == u'\t')
            c = u' ';
    return text;
}

QString columnName(int column, const QString &header)
{
    constexpr qsizetype Shown = 60;
    const QString text = oneLine(header);
    return QStringLiteral("%1: %2").arg(column + 1).arg(text.size() > Shown ? text.left(Shown) + u'…' : text);
}

// The characters a result file cannot hold, and the first rows that hold them.
QString unstorableText(const AnswerSheet::Unstorable &unstorable)
{
    QStringList rows;
    for (const AnswerSheet::BadRow &row : unstorable.first)
        rows << QStringLiteral("строка %1 (%2)").arg(row.row).arg(oneLine(row.reason));
    QString text = AnswerSheet::unstorableCharacters(unstorable).join(QStringLiteral(", ")) + QStringLiteral(".\nСтрок с ними: %1: ").arg(unstorable.rows)
                   + rows.join(QStringLiteral(", "));
    if (unstorable.rows > unstorable.first.size())
        text += QStringLiteral(" … и ещё %1").arg(unstorable.rows - unstorable.first.size());
    return text;
}

QLabel *plainLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QString separatorName(QChar separator)
{
    return separator == u'\t' ? QStringLiteral("табуляция") : QStringLiteral("«%1»").arg(separator);
}

// Busy until the end of the scope.
struct BusyCursor
{
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

ImportDialog::ImportDialog(AnswerSheet::Sheet sheet, const Questionnaire::Captions &captions, UserPrompts *prompts,
                           const QString &folder, QWidget *parent)
    : QDialog(parent)
    , m_sheet(std::move(sheet))
    , m_captions(captions)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("Импорт ответов"));
    auto *layout = new QVBoxLayout(this);

    m_sheetLabel = plainLabel(this, "laSheet");
    m_sheetLabel->setText(QStringLiteral("Таблица: %1 (%2, разделитель %3)")
                              .arg(QDir::toNativeSeparators(m_sheet.fileName), CsvReader::encodingName(m_sheet.encoding),
                                   separatorName(m_sheet.separator)));
    layout->addWidget(m_sheetLabel);

    m_preview = new QTableWidget(this);
    m_preview->setObjectName(QStringLiteral("twPreview"));
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setMinimumHeight(150);
    layout->addWidget(m_preview, 2);

    auto *middle = new QHBoxLayout;
    auto *columnsBox = new QVBoxLayout;
    columnsBox->addWidget(new QLabel(QStringLiteral("Столбцы таблицы:"), this));
    m_columnTable = new QTableWidget(this);
    m_columnTable->setObjectName(QStringLiteral("twColumns"));
    columnsBox->addWidget(m_columnTable);
    middle->addLayout(columnsBox, 1);
    auto *badBox = new QVBoxLayout;
    badBox->addWidget(new QLabel(QStringLiteral("Строки, которые не будут импортированы:"), this));
    m_badRows = new QTableWidget(0, 2, this);
    m_badRows->setObjectName(QStringLiteral("twBadRows"));
    m_badRows->setHorizontalHeaderLabels({QStringLiteral("Строка"), QStringLiteral("Причина")});
    m_badRows->horizontalHeader()->setStretchLastSection(true);
    m_badRows->verticalHeader()->hide();
    m_badRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    badBox->addWidget(m_badRows);
    middle->addLayout(badBox, 1);
    layout->addLayout(middle, 3);

    m_summary = plainLabel(this, "laSummary");
    layout->addWidget(m_summary);

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(QStringLiteral("Папка для файлов результатов:"), this));
    m_folder = new QLineEdit(QDir::toNativeSeparators(folder), this);
    m_folder->setObjectName(QStringLiteral("edFolder"));
    folderRow->addWidget(m_folder, 1);
    auto *browse = new QPushButton(QStringLiteral("Обзор…"), this);
    browse->setObjectName(QStringLiteral("btFolder"));
    folderRow->addWidget(browse);
    layout->addLayout(folderRow);
    m_replace = new QCheckBox(QStringLiteral("Заменять файлы анкет с теми же кодами или именами"), this);
    m_replace->setObjectName(QStringLiteral("cbReplace"));
    layout->addWidget(m_replace);
    m_names = plainLabel(this, "laNames");
    layout->addWidget(m_names);

    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("bbImport"));
    m_import = buttons->addButton(QStringLiteral("Импортировать"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("btImport"));
    QPushButton *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btCancel"));
    layout->addWidget(buttons);

    buildPreview();
    buildColumnTable();
    m_columns = AnswerSheet::detectColumns(m_sheet.header, m_captions);
    folderEdited();

    connect(m_folder, &QLineEdit::editingFinished, this, &ImportDialog::folderEdited);
    connect(browse, &QPushButton::clicked, this, &ImportDialog::chooseFolder);
    connect(m_replace, &QCheckBox::toggled, this, &ImportDialog::showPlan);
    connect(m_import, &QPushButton::clicked, this, &ImportDialog::runImport);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ScreenFit::resize(this, QSize(960, 720));
}

ImportDialog::~ImportDialog() = default;

QString ImportDialog::folder() const
{
    return QDir::fromNativeSeparators(m_folder->text().trimmed());
}

void ImportDialog::buildPreview()
{
    const QList<AnswerSheet::PreviewRow> rows = AnswerSheet::previewRows(m_sheet, PreviewRows);
    int columns = int(m_sheet.header.size());
    for (const AnswerSheet::PreviewRow &row : rows)
        columns = std::max(columns, int(row.cells.size()));
    m_preview->setColumnCount(columns);
    m_preview->setRowCount(int(rows.size()));
    QStringList labels;
    for (int c = 0; c < columns; ++c)
        labels << columnName(c, m_sheet.header.value(c));
    m_preview->setHorizontalHeaderLabels(labels);
    QStringList rowLabels;
    for (int r = 0; r < rows.size(); ++r) {
        rowLabels << QString::number(rows[r].row);
        for (int c = 0; c < rows[r].cells.size(); ++c)
            m_preview->setItem(r, c, new QTableWidgetItem(oneLine(rows[r].cells[c])));
    }
    m_preview->setVerticalHeaderLabels(rowLabels);
}

void ImportDialog::labelPreviewColumns()
{
    // Each column of the preview says what it is used as.
    std::vector<int> fieldOf(std::size_t(m_preview->columnCount()), -1);
    for (int field = 0; field < AnswerSheet::FieldCount; ++field) {
        const int column = m_columns[std::size_t(field)];
        if (column >= 0 && column < int(fieldOf.size()) && fieldOf[std::size_t(column)] < 0)
            fieldOf[std::size_t(column)] = field;
    }
    QStringList labels;
    for (int c = 0; c < m_preview->columnCount(); ++c) {
        const int field = fieldOf[std::size_t(c)];
        labels << columnName(c, m_sheet.header.value(c)) + u'\n'
                      + (field < 0 ? QStringLiteral("(не используется)") : QStringLiteral("→ ") + AnswerSheet::fieldTitle(field, m_captions));
    }
    m_preview->setHorizontalHeaderLabels(labels);
}

void ImportDialog::buildColumnTable()
{
    m_columnTable->setColumnCount(2);
    m_columnTable->setRowCount(AnswerSheet::FieldCount);
    m_columnTable->setHorizontalHeaderLabels({QStringLiteral("Поле"), QStringLiteral("Столбец")});
    m_columnTable->horizontalHeader()->setStretchLastSection(true);
    m_columnTable->verticalHeader()->hide();
    m_columnTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList choices{QStringLiteral("— нет —")};
    for (int c = 0; c < m_sheet.header.size(); ++c)
        choices << columnName(c, m_sheet.header[c]);
    for (int field = 0; field < AnswerSheet::FieldCount; ++field) {
        m_columnTable->setItem(field, 0, new QTableWidgetItem(AnswerSheet::fieldTitle(field, m_captions)));
        auto *combo = new QComboBox(m_columnTable);
        combo->setObjectName(QStringLiteral("cbColumn_") + AnswerSheet::fieldKey(field));
        combo->addItems(choices);
        m_columnTable->setCellWidget(field, 1, combo);
        connect(combo, &QComboBox::activated, this, [this, field](int index) { columnChosen(field, index); });
        m_combos << combo;
    }
    m_columnTable->resizeColumnToContents(0);
}

void ImportDialog::showColumns()
{
    for (int field = 0; field < AnswerSheet::FieldCount; ++field)
        m_combos[field]->setCurrentIndex(m_columns[std::size_t(field)] + 1);
}

void ImportDialog::columnChosen(int field, int index)
{
    m_columns[std::size_t(field)] = index - 1;
    recheck();
}

void ImportDialog::folderEdited()
{
    // The map file saved with the folder says which column holds what, for a sheet of the same form.
    const QString chosen = folder();
    if (chosen == m_mapFolder && m_check) {
        showPlan();
        return;
    }
    m_mapFolder = chosen;
    m_mapProblems.clear();
    const QString mapPath = QDir(chosen).filePath(AnswerSheet::mapFileName());
    if (!chosen.isEmpty() && QFileInfo(mapPath).isFile()) {
        QFile file(mapPath);
        m_columns = AnswerSheet::detectColumns(m_sheet.header, m_captions);
        const AnswerSheet::Columns detected = AnswerSheet::detectColumns(m_sheet.header, m_captions);
        if (file.open(QIODevice::ReadOnly) && file.size() < 1024 * 1024) {
            const Outcome<AnswerSheet::MapRead> map = AnswerSheet::readMap(file.readAll(), m_sheet.header, detected, mapPath, true);
            if (map && map->otherHeader) {
                m_columns = detected;
                m_mapProblems << QStringLiteral("он составлен для таблицы с другими столбцами; столбцы найдены по заголовкам");
            } else if (map) {
                m_columns = map->columns;
                m_mapProblems = map->problems;
            } else {
                m_mapProblems << map.message();
            }
        }
    }
    recheck();
}

void ImportDialog::recheck()
{
    showColumns();
    {
        BusyCursor busy;
        Outcome<AnswerSheet::Check> check = AnswerSheet::check(m_sheet, m_columns, m_captions);
        m_check.reset();
        m_checkError.clear();
        if (check)
            m_check = std::move(check).value();
        else
            m_checkError = check.message();
    }
    m_badRows->setRowCount(0);
    QStringList summary;
    if (!m_mapProblems.isEmpty())
        summary << QStringLiteral("Файл столбцов папки: ") + m_mapProblems.join(QStringLiteral("; "));
    if (!m_check) {
        summary << m_checkError;
    } else {
        const AnswerSheet::Check &check = *m_check;
        // One line per problem with its first rows, and at most MaxBadGroups of them: a sheet of
        // any size is shown at once.
        qsizetype moreRows = 0;
        const QList<AnswerSheet::BadGroup> groups = AnswerSheet::groupBadRows(check.bad, MaxBadGroups, &moreRows);
        m_badRows->setRowCount(int(groups.size()) + (moreRows > 0 ? 1 : 0));
        for (int k = 0; k < groups.size(); ++k) {
            auto *row = new QTableWidgetItem(groups[k].rows);
            row->setData(Qt::UserRole, groups[k].firstRow);
            m_badRows->setItem(k, 0, row);
            m_badRows->setItem(k, 1, new QTableWidgetItem(oneLine(groups[k].reason)));
        }
        if (moreRows > 0) {
            m_badRows->setItem(int(groups.size()), 0, new QTableWidgetItem(QStringLiteral("… и ещё %1").arg(moreRows)));
            m_badRows->setItem(int(groups.size()), 1, new QTableWidgetItem(QStringLiteral("строк с другими ошибками")));
        }
        m_badRows->resizeColumnToContents(0);
        summary << QStringLiteral("Строк с ответами: %1; годных: %2; с ошибками: %3.")
                       .arg(check.rows)
                       .arg(check.goodRows.size())
                       .arg(check.bad.size());
        if (!check.bad.isEmpty() && !check.goodRows.empty())
            summary << QStringLiteral("Строки с ошибками не импортируются: исправьте их в таблице или импортируйте только годные.");
    }
    // Every column accounted for: those no field takes are named with why.
    const QStringList unused = AnswerSheet::unusedColumns(m_columns, m_sheet.header);
    if (!unused.isEmpty()) {
        constexpr qsizetype Named = 10;
        QString line = QStringLiteral("Не используются столбцы: ") + oneLine(unused.mid(0, Named).join(QStringLiteral("; ")));
        if (unused.size() > Named)
            line += QStringLiteral(" … и ещё %1").arg(unused.size() - Named);
        summary << line;
    }
    labelPreviewColumns();
    m_summary->setText(summary.join(u'\n'));
    showPlan();
}

void ImportDialog::showPlan()
{
    const bool ready = m_check && !m_check->goodRows.empty() && !folder().isEmpty();
    m_import->setEnabled(ready);
    if (m_check && !m_check->bad.isEmpty() && !m_check->goodRows.empty())
        m_import->setText(QStringLiteral("Импортировать годные (%1)").arg(m_check->goodRows.size()));
    else
        m_import->setText(QStringLiteral("Импортировать"));
    m_names->clear();
    if (!ready)
        return;
    const SheetImport::Plan plan = SheetImport::plan(m_check->goodCodes, folder(), m_replace->isChecked(), &m_check->goodAnswers);
    QStringList lines;
    if (plan.present > 0)
        lines << QStringLiteral("Эти анкеты уже есть в папке (тот же код и те же ответы), они не будут записаны повторно: уже есть: %1.")
                     .arg(plan.present);
    if (plan.changed > 0)
        lines << (m_replace->isChecked()
                      ? QStringLiteral("Анкеты с кодами, которые уже есть в папке, но с другими ответами: %1. Их файлы будут заменены.")
                      : QStringLiteral("Анкеты с кодами, которые уже есть в папке, но с другими ответами: %1. Они не будут записаны; "
                                       "отметьте «Заменять…», чтобы заменить ими прежние."))
                     .arg(plan.changed);
    const qsizetype sameNames = plan.replaced - (m_replace->isChecked() ? plan.changed : 0);
    if (m_replace->isChecked() && sameNames > 0)
        lines << QStringLiteral("Файлов с такими именами в папке уже есть: %1. Они будут заменены.").arg(sameNames);
    else if (plan.renamed > 0)
        lines << QStringLiteral("Файлов с такими именами в папке уже есть: %1. Новые файлы получат имена с номером, "
                                "например «%2».")
                     .arg(plan.renamed)
                     .arg(*std::find_if(plan.names.cbegin(), plan.names.cend(),
                                        [](const QString &name) { return name.endsWith(QStringLiteral(").cry")); }));
    m_names->setText(lines.join(u'\n'));
    if (std::all_of(plan.names.cbegin(), plan.names.cend(), [](const QString &name) { return name.isEmpty(); })) {
        m_import->setEnabled(false);
        m_import->setText(QStringLiteral("Импортировать"));
    }
}

void ImportDialog::chooseFolder()
{
    const QString chosen = m_prompts->chooseFolder(this, QStringLiteral("Папка для файлов результатов"), folder());
    if (chosen.isEmpty())
        return;
    m_folder->setText(QDir::toNativeSeparators(chosen));
    folderEdited();
}

void ImportDialog::runImport()
{
    folderEdited();
    if (!m_check || m_check->goodRows.empty() || folder().isEmpty())
        return;
    const QString target = QFileInfo(folder()).absoluteFilePath();
    const bool replace = m_replace->isChecked();
    const SheetImport::Plan plan = SheetImport::plan(m_check->goodCodes, target, replace, &m_check->goodAnswers);
    if (plan.replaced > 0
        && !m_prompts->confirm(this, windowTitle(),
                               QStringLiteral("В папке %1 будут заменены файлы: %2.\nЗаменить их новыми?")
                                   .arg(QDir::toNativeSeparators(target))
                                   .arg(plan.replaced))) {
        return;
    }
    // Characters a result file cannot hold are named before anything is written.
    if (m_check->unstorable.rows > 0
        && !m_prompts->confirm(this, windowTitle(),
                               QStringLiteral("В файлах результатов (кодировка windows-1251) нет некоторых знаков таблицы: %1\n\n"
                                              "Записать их как «?»?")
                                   .arg(unstorableText(m_check->unstorable)))) {
        return;
    }
    SheetImport::Options options;
    options.replace = replace;
    options.mapText = AnswerSheet::mapText(m_columns, m_sheet.header);
    QProgressDialog progress(QStringLiteral("Запись файлов результатов…"), QStringLiteral("Отмена"), 0,
                             int(m_check->goodRows.size()), this);
    progress.setObjectName(QStringLiteral("importProgress"));
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    options.progress = [&progress](qsizetype done, qsizetype total) {
        progress.setLabelText(QStringLiteral("Запись файлов результатов: %1 из %2").arg(done).arg(total));
        progress.setValue(int(done));
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    };
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const Outcome<SheetImport::Written> written = SheetImport::write(m_sheet, m_columns, m_captions, *m_check, target, options);
    QGuiApplication::restoreOverrideCursor();
    progress.close();
    if (!written) {
        if (!written.cancelled())
            m_prompts->showError(this, windowTitle(), written.message());
        recheck();
        return;
    }
    m_prompts->showInformation(this, windowTitle(), importSummary(*written, *m_check, target));
    accept();
    emit imported(target);
}

QString ImportDialog::importSummary(const SheetImport::Written &written, const AnswerSheet::Check &check, const QString &folder)
{
    QString text = QStringLiteral("Записано файлов результатов: %1").arg(written.files.size());
    if (written.replaced > 0)
        text += QStringLiteral(" (заменено прежних: %1)").arg(written.replaced);
    text += QStringLiteral("\nПапка: %1").arg(QDir::toNativeSeparators(folder));
    if (check.bad.isEmpty())
        return text + QStringLiteral("\nВсе строки таблицы импортированы.");
    // A row may be named once per reason: each row counts once.
    QList<qsizetype> rows;
    for (const AnswerSheet::BadRow &bad : check.bad)
        if (rows.isEmpty() || rows.constLast() != bad.row)
            rows << bad.row;
    text += QStringLiteral("\n\nНе импортировано строк: %1. Номера строк таблицы и причины:").arg(rows.size());
    constexpr qsizetype Listed = 20;
    for (qsizetype k = 0; k < check.bad.size() && k < Listed; ++k)
        text += QStringLiteral("\n  строка %1: %2").arg(check.bad.at(k).row).arg(check.bad.at(k).reason);
    if (check.bad.size() > Listed)
        text += QStringLiteral("\n  … и ещё %1").arg(check.bad.size() - Listed);
    return text;
}
