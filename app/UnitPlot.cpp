#include "UnitPlot.h"

#include "About.h"
#include "BevelPanel.h"
#include "Cp1251.h"
#include "Exports.h"
#include "Report.h"
#include "ScoresCsv.h"
#include "Group.h"
#include "Icons.h"
#include "JpegCodec.h"
#include "RealSpinEdit.h"
#include "ResultFile.h"
#include "ResultsGrid.h"
#include "ScrinCap.h"
#include "StatementCharts.h"
#include "UnitPC1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QDate>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QProxyStyle>
#include <QScatterSeries>
#include <QScreen>
#include <QShortcut>
#include <QStyleOptionMenuItem>
#include <QToolTip>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include <exception>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Menu-bar items show their icon and their caption side by side.
class MenuBarStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override
    {
        if (type == CT_MenuBarItem) {
            if (const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
                item && !item->icon.isNull()) {
                const QSize text = item->fontMetrics.size(Qt::TextShowMnemonic, item->text);
                const QSize contents(16 + 4 + text.width(), std::max(16, text.height()));
                return QProxyStyle::sizeFromContents(type, option, contents, widget);
            }
        }
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (element != CE_MenuBarItem || !item || item->icon.isNull()) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionMenuItem frame = *item;
        frame.icon = QIcon();
        frame.text.clear();
        QProxyStyle::drawControl(element, &frame, painter, widget);
        const QRect area = item->rect.adjusted(4, 0, -4, 0);
        const QPixmap icon = item->icon.pixmap(16, 16, (item->state & State_Enabled) ? QIcon::Normal : QIcon::Disabled);
        painter->drawPixmap(area.left(), area.top() + (area.height() - 16) / 2, icon);
        painter->setPen(item->palette.color(QPalette::ButtonText));
        painter->drawText(area.adjusted(20, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, item->text);
    }
};

// Fonts of the layout that may be missing on the system get metric-compatible substitutes, so that
// texts fit their fixed places.
void installFontSubstitutes()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif")});
}

QFont pixelFont(const QString &family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry, int pixels,
                  Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(pixelFont(QStringLiteral("MS Sans Serif"), pixels));
    label->setAlignment(alignment | Qt::AlignTop);
    if (geometry.isEmpty()) {
        label->move(geometry.topLeft());
        label->adjustSize();
    } else {
        label->setGeometry(geometry);
    }
    return label;
}

QLineEdit *makeEdit(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 17));
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    edit->setPalette(palette);
    return edit;
}

QFrame *makePanel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *panel = new BevelPanel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(geometry);
    return panel;
}

QLabel *makeImage(QWidget *parent, const char *name, const QPixmap &pixmap, const QRect &geometry)
{
    auto *image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setPixmap(pixmap);
    image->setGeometry(geometry);
    return image;
}

// Sets a label's text and sizes it to the text, keeping its right edge.
void setTextKeepingRight(QLabel *label, const QString &text)
{
    const int right = label->x() + label->width();
    label->setText(text);
    label->adjustSize();
    label->move(right - label->width(), label->y());
}

// The busy cursor of a group build, for the lifetime of the guard: application-wide, until a progress
// dialog opens; then only the window behind it is busy, so that the dialog's Cancel button keeps
// the normal cursor.
class GroupBusyCursor
{
public:
    explicit GroupBusyCursor(QWidget *window)
        : m_window(window)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~GroupBusyCursor()
    {
        if (m_applicationWide)
            QGuiApplication::restoreOverrideCursor();
        else
            m_window->unsetCursor();
    }
    void progressShown()
    {
        if (!m_applicationWide)
            return;
        QGuiApplication::restoreOverrideCursor();
        m_applicationWide = false;
        m_window->setCursor(Qt::WaitCursor);
    }
    GroupBusyCursor(const GroupBusyCursor &) = delete;
    GroupBusyCursor &operator=(const GroupBusyCursor &) = delete;

private:
    QWidget *m_window;
    bool m_applicationWide = true;
};

QImage backgroundPicture()
{
    QFile file(QStringLiteral(":/culture-model.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    QString error;
    QImage image = JpegCodec::decode(file.readAll(), &error);
    if (image.isNull())
        qWarning("The background picture could not be decoded: %s", qPrintable(error));
    return image;
}

} // namespace

TForm1::TForm1(Options options)
    : m_prompts(options.prompts ? std::move(options.prompts) : std::make_unique<DesktopPrompts>())
    , m_shell(options.shell ? std::move(options.shell) : createPlatformDesktopShell())
{
    installFontSubstitutes();
    setObjectName(QStringLiteral("Form1"));
    setAcceptDrops(true);
    AppDir = options.appDir;
    buildControls();
    buildMenus();
    AboutBox = new TAboutBox(this);
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::buildControls()
{
    setWindowTitle(QStringLiteral("ZOLK - Zembrau Plot"));
    setWindowIcon(Icons::program());
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    resize(1032, 776);

    paInfo = makePanel(client, "paInfo", QRect(5, 0, 415, 130));
    laA = makeLabel(paInfo, "laA", QStringLiteral("Код"), QRect(8, 17, 61, 20), 16, Qt::AlignRight);
    Label2 = makeLabel(paInfo, "Label2", QStringLiteral("Дата"), QRect(184, 17, 61, 20), 16, Qt::AlignRight);
    laName = makeLabel(paInfo, "laName", QStringLiteral("Группа"), QRect(8, 55, 61, 20), 16, Qt::AlignRight);
    Label3 = makeLabel(paInfo, "Label3", QStringLiteral("N анкет"), QRect(8, 93, 61, 20), 16, Qt::AlignRight);
    Label4 = makeLabel(paInfo, "Label4", QStringLiteral("Range"), QRect(260, 94, 0, 0), 16, Qt::AlignRight);
    QPalette maroon = Label4->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    Label4->setPalette(maroon);
    ImageInfo = makeImage(paInfo, "ImageInfo", Icons::notepad(), QRect(5, 5, 16, 16));
    ImageAll = makeImage(paInfo, "ImageAll", Icons::imageAll(), QRect(8, 40, 17, 16));
    Image5M = makeImage(paInfo, "Image5M", Icons::image5M(), QRect(32, 40, 18, 16));
    Image5T = makeImage(paInfo, "Image5T", Icons::image5T(), QRect(56, 40, 26, 16));
    ImageAll->hide();
    Image5M->hide();
    // The menu icons of the two charts are made once: a new icon at every load would leave its
    // rendered pixmaps behind in the pixmap cache.
    m_iconAll = QIcon(ImageAll->pixmap());
    m_icon5M = QIcon(Image5M->pixmap());
    Image5T->hide();
    ceCode = makeEdit(paInfo, "ceCode", QStringLiteral("0000"), QRect(92, 15, 81, 26));
    ceName = makeEdit(paInfo, "ceName", QString(), QRect(92, 53, 309, 26));
    ceDate = makeEdit(paInfo, "ceDate", QStringLiteral("00.00.0000"), QRect(268, 15, 133, 26));
    ceNanket = makeEdit(paInfo, "ceNanket", QStringLiteral("12"), QRect(92, 91, 81, 26));
    ceNanket->setReadOnly(true);
    seDelta = new RealSpinEdit(paInfo);
    seDelta->setObjectName(QStringLiteral("seDelta"));
    seDelta->setGeometry(332, 91, 70, 21);
    seDelta->setFont(pixelFont(QStringLiteral("Arial"), 17));
    seDelta->setRange(Scoring::DeltaMinimum, Scoring::DeltaMaximum);
    seDelta->setSingleStep(0.01);
    seDelta->setValue(Scoring::DeltaStart);

    sgResF = new ResultsGrid(client);
    sgResF->setGeometry(5, 130, 415, 298);
    sgResF->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 13));
    sgResF->gridSelection()->setSelectHandler([this](int column, int row) { return sgResFSelectCell(column, row); });

    paChart = makePanel(client, "paChart", QRect(5, 427, 415, 294));
    ChartAll = new OverviewChart(paChart);
    ChartAll->setGeometry(2, 2, 411, 290);
    chChart = new DetailChart(paChart);
    chChart->setGeometry(2, 2, 411, 290);
    chChart->raise();

    paPlot = makePanel(client, "paPlot", QRect(420, 0, 602, 564));
    imJPEG = new QLabel(paPlot);
    imJPEG->setObjectName(QStringLiteral("imJPEG"));
    imJPEG->setGeometry(2, 2, 762, 714);
    imJPEG->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imJPEG->setPixmap(QPixmap::fromImage(backgroundPicture()));
    imPlot = new ProfileOverlay(paPlot);
    imPlot->setGeometry(2, 2, 598, 560);
    laInfoImage = makeLabel(paPlot, "laInfoImage", QStringLiteral("Code. Name"), QRect(13, 8, 0, 0), 13, Qt::AlignLeft);
    laDateImage = makeLabel(paPlot, "laDateImage", QStringLiteral("Date"), QRect(556, 8, 0, 0), 13, Qt::AlignRight);
    laInfoImage->setAttribute(Qt::WA_TranslucentBackground);
    laDateImage->setAttribute(Qt::WA_TranslucentBackground);

    meInfo = new QPlainTextEdit(client);
    meInfo->setObjectName(QStringLiteral("meInfo"));
    meInfo->setGeometry(422, 563, 599, 158);
    meInfo->setFont(pixelFont(QStringLiteral("Times New Roman"), 16));
    meInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meInfo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette memoPalette = meInfo->palette();
    memoPalette.setColor(QPalette::Base, Qt::white);
    meInfo->setPalette(memoPalette);

    for (QWidget *view : {static_cast<QWidget *>(paInfo), static_cast<QWidget *>(sgResF), static_cast<QWidget *>(paPlot),
                          static_cast<QWidget *>(meInfo), static_cast<QWidget *>(paChart)})
        view->hide();

    // Keyboard order: the circle panel, the memo, the grid, the header fields, the charts.
    paPlot->setFocusPolicy(Qt::NoFocus);
    QWidget::setTabOrder(meInfo, sgResF);
    QWidget::setTabOrder(sgResF, ceCode);
    QWidget::setTabOrder(ceCode, ceName);
    QWidget::setTabOrder(ceName, ceDate);
    QWidget::setTabOrder(ceDate, ceNanket);
    QWidget::setTabOrder(ceNanket, seDelta);

    ImageInfo->installEventFilter(this);
    for (QLineEdit *edit : {ceCode, ceName, ceDate})
        edit->installEventFilter(this);
    connect(seDelta, &RealSpinEdit::textEdited, this, &TForm1::seDeltaChange);
    connect(ChartAll, &OverviewChart::seriesClicked, this, &TForm1::ChartAllClickSeries);

    OpenDialog1.filter = QStringLiteral("CRY Files (*.cry)|*.cry");
    SaveDialog.overwritePrompt = true;
}

void TForm1::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto *style = new MenuBarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    mmOpen = bar->addAction(Icons::data(), QStringLiteral("Data"));
    mmOpen->setObjectName(QStringLiteral("mmOpen"));
    mmGroup = bar->addAction(Icons::group(), QStringLiteral("Group"));
    mmGroup->setObjectName(QStringLiteral("mmGroup"));
    mmPlotAll = bar->addAction(m_iconAll, QStringLiteral("Plot"));
    mmPlotAll->setObjectName(QStringLiteral("mmPlotAll"));
    mmSaveMenu = bar->addMenu(Icons::save(), QStringLiteral("Save"));
    mmSaveMenu->setObjectName(QStringLiteral("mmSaveMenu"));
    mmSave = mmSaveMenu->menuAction();
    mmSave->setObjectName(QStringLiteral("mmSave"));
    mmAnalysis = mmSaveMenu->addAction(Icons::analysis(), QStringLiteral("Analysis"));
    mmAnalysis->setObjectName(QStringLiteral("mmAnalysis"));
    mmImage = mmSaveMenu->addAction(Icons::picture(), QStringLiteral("Image"));
    mmImage->setObjectName(QStringLiteral("mmImage"));
    mmPlotSave = mmSaveMenu->addAction(QStringLiteral("Plot"));
    mmPlotSave->setObjectName(QStringLiteral("mmPlotSave"));
    mmReport = mmSaveMenu->addAction(Icons::analysis(), QStringLiteral("Report"));
    mmReport->setObjectName(QStringLiteral("mmReport"));
    mmScores = mmSaveMenu->addAction(Icons::notepad(), QStringLiteral("Scores"));
    mmScores->setObjectName(QStringLiteral("mmScores"));
    mmPlotAll->setVisible(false);
    mmSave->setVisible(false);

    connect(mmOpen, &QAction::triggered, this, &TForm1::mmOpenClick);
    connect(mmGroup, &QAction::triggered, this, &TForm1::mmGroupClick);
    connect(mmPlotAll, &QAction::triggered, this, &TForm1::mmPlotAllClick);
    connect(mmAnalysis, &QAction::triggered, this, &TForm1::mmAnalysisClick);
    connect(mmImage, &QAction::triggered, this, &TForm1::mmSaveClick);
    connect(mmPlotSave, &QAction::triggered, this, &TForm1::mmPlotSaveClick);
    connect(mmReport, &QAction::triggered, this, &TForm1::mmReportClick);
    connect(mmScores, &QAction::triggered, this, &TForm1::mmScoresClick);
}

void TForm1::FormCreate()
{
    if (AppDir.isEmpty())
        AppDir = QCoreApplication::applicationDirPath();
    if (!AppDir.endsWith(u'/'))
        AppDir += u'/';
    createPlotLabels();
    m_shell->claimScreen();
    if (!m_shell->appendSystemMenuItem(reinterpret_cast<void *>(winId()), AboutCommandId, L"О программе")) {
        // Without a system menu "О программе" sits in the menu bar's context menu and on F1.
        mmAbout = new QAction(QStringLiteral("О программе"), this);
        mmAbout->setObjectName(QStringLiteral("mmAbout"));
        mmAbout->setShortcut(QKeySequence(Qt::Key_F1));
        mmAbout->setShortcutContext(Qt::WindowShortcut);
        addAction(mmAbout);
        menuBar()->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(menuBar(), &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
            QMenu menu(this);
            menu.addAction(mmAbout);
            menu.exec(menuBar()->mapToGlobal(at));
        });
        connect(mmAbout, &QAction::triggered, this, &TForm1::showAbout);
    }
    createKeyLabel();
}

void TForm1::createPlotLabels()
{
    for (int tag = 0; tag < 16; ++tag) {
        auto *label = new PlotLabel(tag, paPlot);
        label->show();
        connect(label, &PlotLabel::clicked, this, &TForm1::LabelClick);
        RunTimeLabels[std::size_t(tag)] = label;
    }
}

void TForm1::createKeyLabel()
{
    auto *key = new QLabel(ResultFile::KeyText(), this);
    key->setObjectName(QStringLiteral("KeyLabel"));
    key->hide();
    RunTimeLabels[16] = key;
}

void TForm1::FormClose()
{
    m_shell->releaseScreen();
    delete RunTimeLabels[16];
    RunTimeLabels[16] = nullptr;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (RunTimeLabels[16])
        FormClose();
    AboutBox->hide();
    event->accept();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ImageInfo && event->type() == QEvent::ToolTip) {
        // The summary stays up to 50 seconds, long enough to read a long member list.
        const auto *help = static_cast<QHelpEvent *>(event);
        QString text = ImageInfo->toolTip();
        text.replace(CrLf, QStringLiteral("\n"));
        QToolTip::showText(help->globalPos(), text, ImageInfo, QRect(), 50000);
        return true;
    }
    if (event->type() == QEvent::KeyRelease && (watched == ceCode || watched == ceName || watched == ceDate))
        ceCodeKeyUp();
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
#ifdef Q_OS_WIN
    const MSG *msg = static_cast<const MSG *>(message);
    if (msg->message == WM_SYSCOMMAND && msg->wParam == AboutCommandId)
        showAbout();
#endif
    // Every system command then goes on to the default handling.
    return QMainWindow::nativeEvent(eventType, message, result);
}

void TForm1::showAbout()
{
    AboutBox->showCentred();
}

double TForm1::delta() const
{
    return seDelta->currentValue();
}

QString TForm1::memoText() const
{
    // Line breaks are kept exactly as the memo holds them: a line the program added ends with one.
    QString text = meInfo->toPlainText();
    text.replace(u'\n', CrLf);
    return text;
}

void TForm1::setMemoLines(const QStringList &lines)
{
    // Every line the program adds ends with a line break, as the analysis file has it; a line that
    // holds CR LF breaks (the summary) is several lines.
    QString text;
    for (const QString &line : lines)
        text += line + u'\n';
    text.replace(CrLf, QStringLiteral("\n"));
    meInfo->setUpdatesEnabled(false);
    meInfo->setPlainText(text);
    meInfo->setUpdatesEnabled(true);
}

void TForm1::reportError(const QString &text)
{
    m_prompts->showError(this, applicationTitle(), text);
}

void TForm1::runCommand(const std::function<void()> &command)
{
    try {
        command();
    } catch (const std::exception &error) {
        reportError(QString::fromLocal8Bit(error.what()));
    }
}

// ---------------------------------------------------------------------------------------------
// Loads

void TForm1::mmOpenClick()
{
    runCommand([this] {
        OpenDialog1.title = QStringLiteral("Индивидуальные данные для оценки КК по Зембрау");
        OpenDialog1.fileName.clear();
        OpenDialog1.initialDir = dataFolder();
        const QString chosen = m_prompts->openFile(this, OpenDialog1);
        if (chosen.isEmpty())
            return;
        OpenDialog1.fileName = chosen;
        loadFile(chosen);
    });
}

void TForm1::loadFile(const QString &path)
{
    // The whole file is read and parsed before anything on screen changes.
    const ReadOutcome outcome = ResultFile::readFile(path, ResultFile::keyBytes(KeyLabel()->text()));
    if (!outcome.ok()) {
        reportError(outcome.error);
        return;
    }
    applyRecord(*outcome.record);
    const ResultRecord &r = *outcome.record;
    m_scoreRows = {ScoreRow::of(QFileInfo(path).fileName(), r.code, r.name, r.date, r.info, r.indexScores, r.itemScores)};
}

void TForm1::openPath(const QString &path)
{
    runCommand([&] {
        if (QFileInfo(path).isDir()) {
            const QString error = loadGroup(QDir(path).absolutePath() + u'/');
            if (!error.isEmpty())
                reportError(error);
        } else {
            loadFile(path);
        }
    });
}

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedPath(event->mimeData()).isEmpty())
        return;
    event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    const QString path = droppedPath(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop has ended, so that the file manager is not kept waiting by the load.
    QMetaObject::invokeMethod(this, [this, path] { openPath(path); }, Qt::QueuedConnection);
}

QString TForm1::droppedPath(const QMimeData *data)
{
    // One local result file, or one folder; anything else is not taken.
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile())
        return QString();
    const QString path = data->urls().constFirst().toLocalFile();
    const QFileInfo info(path);
    if (info.isDir() || path.endsWith(QStringLiteral(".cry"), Qt::CaseInsensitive))
        return path;
    return QString();
}

QString TForm1::dataFolder() const
{
    const QString beside = AppDir + QStringLiteral("Data");
    if (QFileInfo(beside).isDir())
        return beside;
    // An installed copy on Linux keeps its samples in its data folder.
    const QString installed = QDir::cleanPath(AppDir + QStringLiteral("../share/zolk-plot/Data"));
    return QFileInfo(installed).isDir() ? installed : beside;
}

void TForm1::DecipherInfoText()
{
    const QByteArray stored = Cp1251::encode(memoText());
    const QByteArray key = ResultFile::keyBytes(KeyLabel()->text());
    meInfo->setPlainText(Cp1251::decode(UnitPC1::DecipherText(key, stored)).replace(CrLf, QStringLiteral("\n")));
}

void TForm1::applyRecord(const ResultRecord &record)
{
    setMemoLines({record.plainText});
    ceDate->setText(record.date);
    ceCode->setText(record.code);
    ceName->setText(record.name);
    ImageInfo->setToolTip(record.hint());
    laName->setText(QStringLiteral("ФИО"));
    setFooters();
    Scores.IndexScores = record.indexScores;
    Scores.ItemScores = record.itemScores;
    ceNanket->setText(QStringLiteral("1"));
    finishLoad();
}

void TForm1::mmGroupClick()
{
    runCommand([this] {
        OpenDialog1.title = QStringLiteral("Ввод групповых данных для оценки КК по Зембрау");
        OpenDialog1.initialDir = dataFolder();
        OpenDialog1.fileName.clear();
        const QString chosen = m_prompts->openFile(this, OpenDialog1);
        if (chosen.isEmpty())
            return;
        OpenDialog1.fileName = chosen;
        // The message comes once the busy cursor is gone.
        const QString error = loadGroup(Group::folderOf(chosen));
        if (!error.isEmpty())
            reportError(error);
    });
}

QString TForm1::loadGroup(const QString &folder)
{
    // Busy until the refresh is done, or until the build ends otherwise.
    GroupBusyCursor busy(this);
    // A long group gets a progress dialog after half a second; cancelling changes nothing.
    std::unique_ptr<QProgressDialog> progress;
    QElapsedTimer clock;
    clock.start();
    const auto report = [&](int done, int total) {
        if (!progress && clock.elapsed() >= groupProgressDelay && done < total) {
            progress = std::make_unique<QProgressDialog>(QString(), QStringLiteral("Отмена"), 0, total, this);
            progress->setObjectName(QStringLiteral("groupProgress"));
            progress->setWindowTitle(QStringLiteral("Group"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            // Kept up at the last member too, so that a click on Cancel then is not lost.
            progress->setAutoReset(false);
            progress->setAutoClose(false);
            busy.progressShown();
        }
        if (progress) {
            progress->setLabelText(QStringLiteral("Чтение анкет группы: %1 из %2").arg(done).arg(total));
            progress->setValue(done);
            // The dialog is modal: the window repaints, and only Cancel takes clicks.
            QCoreApplication::processEvents();
            if (progress->wasCanceled())
                return false;
        }
        return true;
    };
    const GroupOutcome outcome = Group::build(folder, report);
    progress.reset();
    if (!outcome.ok())
        return outcome.error;
    const GroupProfile &group = *outcome.group;
    applyGroup(group);
    // The scores export's rows: every member in reading order, then the group's mean as shown.
    m_scoreRows.clear();
    m_scoreRows.reserve(group.members.size() + 1);
    for (qsizetype k = 0; k < group.members.size(); ++k) {
        const ResultRecord &r = group.members[k];
        m_scoreRows << ScoreRow::of(group.memberFiles[k], r.code, r.name, r.date, r.info, r.indexScores, r.itemScores);
    }
    m_scoreRows << ScoreRow::of(QFileInfo(QDir::cleanPath(folder)).fileName(), ceCode->text(), ceName->text(),
                                ceDate->text(), {}, group.indexScores, group.itemScores);
    return QString();
}

void TForm1::applyGroup(const GroupProfile &group)
{
    setMemoLines({group.lastPlainText});
    ceCode->setText(QStringLiteral("0000"));
    ceDate->setText(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    laName->setText(QStringLiteral("Группа"));
    ceName->setText(QStringLiteral("Группа"));
    ImageInfo->setToolTip(group.hint());
    Scores.IndexScores = group.indexScores;
    Scores.ItemScores = group.itemScores;
    ceNanket->setText(QString::number(group.memberCount));
    setFooters();
    finishLoad();
}

void TForm1::finishLoad()
{
    mmPlotClick();
    sgResF->setFocus();
    sgResF->gridSelection()->setCurrentSilently(sgResF->model()->index(1, 1));
    mmPlotAll->setVisible(true);
    mmSave->setVisible(true);
    mmPlotSave->setIcon(m_icon5M);
}

void TForm1::setFooters()
{
    const QString line = ceCode->text() + u' ' + ceName->text() + u' ' + ceDate->text();
    chChart->setFoot(line);
    ChartAll->setFoot(line);
}

// ---------------------------------------------------------------------------------------------
// The refresh

void TForm1::mmPlotClick()
{
    mmSave->setEnabled(true);
    mmPlotAll->setEnabled(true);
    fillGrid();
    DrawProfileCircle();
    const double d = delta();
    chChart->rebuild(Scores, OverallMean, d);
    ChartAll->rebuild(Scores, OverallMean, d);
    setMemoLines(Resource::indexStatements(1));
    if (!m_gridPainted) {
        sgResF->setItemDelegate(new GridCellPainter(
            Image5T->pixmap(), [this] { return std::make_pair(OverallMean, delta()); }, sgResF));
        m_gridPainted = true;
    }
    ceCodeEnter();
    for (QWidget *view : {static_cast<QWidget *>(paInfo), static_cast<QWidget *>(sgResF), static_cast<QWidget *>(paPlot),
                          static_cast<QWidget *>(meInfo), static_cast<QWidget *>(paChart)})
        view->show();
    sgResF->viewport()->update();
}

void TForm1::fillGrid()
{
    const int widths[ResultsGrid::Columns] = {199, 36, 137, 36};
    for (int c = 0; c < ResultsGrid::Columns; ++c)
        sgResF->setCellWidth(c, widths[c]);
    sgResF->setCellText(0, 0, QStringLiteral("Шкалы"));
    for (int i = 1; i <= Resource::IndexCount; ++i)
        sgResF->setCellText(0, i, Resource::IndexShortName(i));
    sgResF->setCellText(0, 13, QStringLiteral("Mean"));
    sgResF->setCellText(2, 0, QStringLiteral("Факторы"));
    for (int t = 1; t <= Resource::TraitCount; ++t)
        sgResF->setCellText(2, 3 * t - 2, Resource::TraitName(t));
    for (int i = 1; i <= Resource::IndexCount; ++i)
        sgResF->setCellText(1, i, Scoring::scoreText(Scores.index(i)));
    OverallMean = Scoring::deriveScores(Scores);
    sgResF->setCellText(3, 13, Scoring::scoreText(OverallMean));
    sgResF->setCellText(1, 13, Scoring::scoreText(OverallMean));
    for (int t = 1; t <= Resource::TraitCount; ++t)
        sgResF->setCellText(3, 3 * t - 2, Scoring::scoreText(Scores.trait(t)));
}

// ---------------------------------------------------------------------------------------------
// The profile circle

ScoreBand TForm1::labelBand(int tag) const
{
    const auto value = Scoring::readScoreText(plotLabel(tag)->text());
    if (!value)
        return ScoreBand::Neither;
    return Scoring::classify(*value, OverallMean, delta());
}

void TForm1::styleLabel(PlotLabel *label, ScoreBand band)
{
    QFont font = label->font();
    font.setBold(band != ScoreBand::Neither);
    label->setFont(font);
    QPalette palette = label->palette();
    const QColor color = band == ScoreBand::High  ? QColor(0, 128, 0)
                         : band == ScoreBand::Low ? QColor(255, 0, 0)
                                                  : QColor(0, 0, 0);
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->resize(label->sizeHint());
}

void TForm1::DrawProfileCircle()
{
    using namespace ProfileCircle;
    QImage &bitmap = imPlot->bitmap();
    const int w = bitmap.width();
    const int h = bitmap.height();
    const QPoint centre = plotCentre(w, h);
    {
        QPainter painter(&bitmap);
        painter.fillRect(QRect(0, 0, w, h), Qt::white);
        std::array<QPoint, 12> points;
        for (int j = 0; j < 12; ++j)
            points[std::size_t(j)] = PlacePlotPoint(centre, j, ScoreRadius(Scores.index(PlotIndexOrder[std::size_t(j)])));
        painter.setPen(QPen(QColor(255, 0, 255), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (int j = 0; j < 12; ++j)
            painter.drawLine(points[std::size_t(j)], points[std::size_t((j + 1) % 12)]);
        // The markers go on top of the lines: a 3 x 3 black square at every vertex.
        for (const QPoint &p : points)
            painter.fillRect(QRect(p.x() - 1, p.y() - 1, 3, 3), Qt::black);
    }
    imPlot->commit();

    std::array<QPoint, 12> anchors;
    for (int j = 0; j < 12; ++j)
        anchors[std::size_t(j)] = PlacePlotPoint(centre, j, LabelRadius);

    // Every label is classified from the text it shows, like the grid cell of the same score.
    for (int l = 0; l < 12; ++l) {
        PlotLabel *label = plotLabel(l);
        label->setTextKeepingLeft(sgResF->cellText(1, PlotIndexOrder[std::size_t(l)]));
        styleLabel(label, labelBand(l));
        const Offset offset = IndexLabelOffsets[std::size_t(l)];
        label->move(label->x(), anchors[std::size_t(l)].y() + offset.dy);
        label->move(anchors[std::size_t(l)].x() + offset.dx, label->y());
    }
    for (int k = 0; k < 4; ++k) {
        const TraitLabelPlace &place = TraitLabelPlaces[std::size_t(k)];
        PlotLabel *label = plotLabel(12 + k);
        label->setTextKeepingLeft(sgResF->cellText(3, place.gridRow));
        styleLabel(label, labelBand(12 + k));
        const QPoint anchor = anchors[std::size_t(place.anchorPosition)];
        label->move(label->x(), anchor.y() + place.offset.dy);
        label->move(anchor.x() + place.offset.dx, label->y());
    }
    for (int tag = 0; tag < 16; ++tag)
        plotLabel(tag)->raise();
}

void TForm1::seDeltaChange()
{
    sgResF->viewport()->update();
    const double d = delta();
    chChart->rebuildBandLines(OverallMean, d);
    ChartAll->rebuildBandLines(OverallMean, d);
    for (int tag = 0; tag < 16; ++tag)
        styleLabel(plotLabel(tag), labelBand(tag));
}

void TForm1::LabelClick(PlotLabel *label)
{
    const QPoint target = ProfileCircle::labelCell(label->tag());
    if (target.y() != sgResF->currentRowIndex())
        sgResF->moveTo(sgResF->currentColumnIndex(), target.y());
    if (target.x() != sgResF->currentColumnIndex())
        sgResF->moveTo(target.x(), sgResF->currentRowIndex());
    sgResF->setFocus();
    sgResF->gridSelection()->select(sgResF->currentIndex(), QItemSelectionModel::ClearAndSelect);
}

// ---------------------------------------------------------------------------------------------
// The grid and the detail view

bool TForm1::sgResFSelectCell(int column, int row)
{
    if (column == 2)
        return false;
    if ((column == 1 || column == 3) && row >= 1 && row <= Resource::IndexCount) {
        showIndexDetail(row);
        if (column == 1)
            setMemoLines(Resource::indexStatements(row));
        else
            setMemoLines(Resource::traitDescription(Resource::traitOfIndex(row)));
    } else if (column == 1 && row == 13) {
        setMemoLines(Resource::allStatements());
    } else if (column == 3 && row == 13) {
        setMemoLines(analysisText());
    }
    return true;
}

void TForm1::showIndexDetail(int index)
{
    chChart->showIndex(index);
}

QStringList TForm1::analysisText() const
{
    QStringList lines;
    lines << ceCode->text() << ceName->text() << ceDate->text()
          << QStringLiteral("N анкет = ") + ceNanket->text() << ImageInfo->toolTip() + CrLf;
    for (int t = 1; t <= Resource::TraitCount; ++t) {
        const int first = 12 * (t - 1) + 1;
        for (int n = first; n < first + 12; ++n) {
            QString line = Resource::DescriptionLine(n);
            const int offset = n - first;
            if (offset == 0)
                line += QStringLiteral(" [") + Scoring::formatFixed(Scores.trait(t), 3) + u']';
            else if (offset % 3 == 0)
                line += QStringLiteral(" [") + Scoring::formatFixed(Scores.index(3 * (t - 1) + offset / 3), 3) + u']';
            lines << line;
        }
    }
    return lines;
}

void TForm1::ceCodeEnter()
{
    laInfoImage->setText(ceCode->text() + QStringLiteral(". ") + ceName->text());
    laInfoImage->adjustSize();
    setTextKeepingRight(laDateImage, ceDate->text());
}

void TForm1::ceCodeKeyUp()
{
    ceCodeEnter();
    setFooters();
}

// ---------------------------------------------------------------------------------------------
// Charts

void TForm1::ChartAllClickSeries(QAbstractSeries *series, int pointIndex)
{
    if (series != ChartAll->SeriesScales || pointIndex < 0 || pointIndex >= Resource::IndexCount)
        return;
    ChartAll->setTitle(Resource::chartCaption(pointIndex + 1));
}

void TForm1::mmPlotAllClick()
{
    if (ChartAll->Tag == 0) {
        ChartAll->raise();
        ChartAll->Tag = 1;
        mmPlotSave->setIcon(mmPlotAll->icon());
        mmPlotAll->setIcon(m_icon5M);
    } else if (ChartAll->Tag == 1) {
        ChartAll->lower();
        ChartAll->Tag = 0;
        mmPlotSave->setIcon(mmPlotAll->icon());
        mmPlotAll->setIcon(m_iconAll);
    }
}

// ---------------------------------------------------------------------------------------------
// Exports

void TForm1::exportPicture(QWidget *panel, const QString &title, const QString &proposedName)
{
    runCommand([&] {
        SaveDialog.filter = QStringLiteral("JPG Files (*.jpg)|*.JPG");
        // A name typed without an extension becomes ".jpg" in the dialog, which then asks before it
        // replaces that file (Windows' dialog would otherwise add the filter's ".JPG").
        SaveDialog.defaultSuffix = QStringLiteral("jpg");
        SaveDialog.overwritePrompt = true;
        SaveDialog.initialDir = Exports::resultsFolder(AppDir);
        SaveDialog.title = title;
        SaveDialog.fileName = proposedName;
        const QString chosen = m_prompts->saveFile(this, SaveDialog);
        if (chosen.isEmpty())
            return;
        SaveDialog.fileName = chosen;
        // The part of the window that the dialog covered is drawn again before the screen is read.
        QCoreApplication::processEvents();
        const QString name = Exports::jpegFileName(chosen);
        const QImage picture = ScrinCap::CapturePanel(panel);
        const QString error = Exports::writePicture(name, picture);
        if (!error.isEmpty())
            reportError(error);
    });
}

QString TForm1::proposedExportName(const QString &prefix, const QString &extension) const
{
    return Exports::resultsFolder(AppDir) + u'/' + prefix + ceCode->text() + extension;
}

void TForm1::mmSaveClick()
{
    exportPicture(paPlot, QStringLiteral("Запись общего профиля в jpg-файл"),
                  proposedExportName(QStringLiteral("Image "), QStringLiteral(".jpg")));
}

void TForm1::mmPlotSaveClick()
{
    const QString kind = ChartAll->Tag == 0 ? QStringLiteral("Plot V ") : QStringLiteral("Plot All ");
    exportPicture(paChart, QStringLiteral("Запись гистограммы в jpg-файл"), proposedExportName(kind, QStringLiteral(".jpg")));
}

void TForm1::mmAnalysisClick()
{
    runCommand([this] {
        SaveDialog.title = QStringLiteral("Запись анализа факторов в rtf.файл");
        SaveDialog.fileName = proposedExportName(QString(), QStringLiteral(".rtf"));
        SaveDialog.filter = QStringLiteral("RTF Files (*.rtf)|*.rtf");
        SaveDialog.defaultSuffix.clear(); // the name is used as chosen
        const QString chosen = m_prompts->saveFile(this, SaveDialog);
        if (chosen.isEmpty())
            return;
        SaveDialog.fileName = chosen;
        const QString error = Exports::writeAnalysis(chosen, memoText());
        if (!error.isEmpty())
            reportError(error);
    });
}

// ---------------------------------------------------------------------------------------------
// The report and the scores

// Runs the save dialog of an export that sets all its own settings; the chosen name, or empty.
QString TForm1::chooseExportFile(const QString &title, const QString &filter, const QString &suffix, const QString &prefix)
{
    SaveDialog.title = title;
    SaveDialog.filter = filter;
    SaveDialog.defaultSuffix = suffix;
    SaveDialog.overwritePrompt = true;
    SaveDialog.initialDir = Exports::resultsFolder(AppDir);
    SaveDialog.fileName = proposedExportName(prefix, u'.' + suffix);
    const QString chosen = m_prompts->saveFile(this, SaveDialog);
    if (!chosen.isEmpty())
        SaveDialog.fileName = chosen;
    return chosen;
}

ReportContent TForm1::reportContent() const
{
    ReportContent content;
    content.header = {QStringLiteral("Код: ") + ceCode->text(), QStringLiteral("ФИО: ") + ceName->text(),
                      QStringLiteral("Дата: ") + ceDate->text(), QStringLiteral("Число анкет: ") + ceNanket->text(),
                      QStringLiteral("Ширина полосы (Range): ") + Scoring::formatFixed(delta(), 2)};

    // The circle as the panel shows it: picture, polygon, captions and the 16 value labels.
    content.panelSize = paPlot->size();
    content.background = imJPEG->pixmap().toImage();
    const QPoint centre = ProfileCircle::plotCentre(imPlot->width(), imPlot->height());
    for (int j = 0; j < 12; ++j)
        content.vertices[std::size_t(j)] = ProfileCircle::PlacePlotPoint(
            centre, j, ProfileCircle::ScoreRadius(Scores.index(ProfileCircle::PlotIndexOrder[std::size_t(j)])));
    QList<const QLabel *> texts = {laInfoImage, laDateImage};
    for (int tag = 0; tag < 16; ++tag)
        texts << plotLabel(tag);
    for (const QLabel *label : std::as_const(texts))
        content.panelTexts.append({label->pos(), label->text(), label->font(), label->palette().color(QPalette::WindowText)});

    // The grid as painted, without a selection.
    content.columnWidths = {199, 36, 137, 36};
    content.gridFont = sgResF->font();
    content.headerIcon = Image5T->pixmap().toImage();
    for (int r = 0; r < ResultsGrid::Rows; ++r) {
        QList<ReportContent::Cell> row;
        for (int c = 0; c < ResultsGrid::Columns; ++c) {
            const QString text = sgResF->cellText(c, r);
            const CellAppearance look = cellAppearance(c, r, text, false, sgResF->palette(), OverallMean, delta());
            row.append({text, look.headerIcon ? QColor(Qt::white) : look.background, look.textColor, look.bold, look.headerIcon});
        }
        content.grid.append(row);
    }

    content.detailChart = chChart->scene();
    content.detailRect = chChart->chart()->geometry();
    content.overviewChart = ChartAll->scene();
    content.overviewRect = ChartAll->chart()->geometry();

    // The analysis text of the Mean cell of the right column, its headings marked.
    const QStringList analysis = analysisText();
    for (int k = 0; k < analysis.size(); ++k) {
        QStringList lines = analysis[k].split(CrLf);
        const int description = k - (analysis.size() - Resource::DescriptionLineCount);
        if (description >= 0 && description % 3 == 0)
            content.headings << int(content.analysis.size());
        content.analysis << lines;
    }
    return content;
}

void TForm1::mmReportClick()
{
    runCommand([this] {
        const QString chosen = chooseExportFile(QStringLiteral("Запись отчёта в pdf-файл"), QStringLiteral("PDF Files (*.pdf)|*.pdf"),
                                                QStringLiteral("pdf"), QStringLiteral("Report "));
        if (chosen.isEmpty())
            return;
        const QString error = Report::write(Report::pdfFileName(chosen), reportContent());
        if (!error.isEmpty())
            reportError(error);
    });
}

void TForm1::mmScoresClick()
{
    runCommand([this] {
        const QString chosen = chooseExportFile(QStringLiteral("Запись оценок в csv-файл"), QStringLiteral("CSV Files (*.csv)|*.csv"),
                                                QStringLiteral("csv"), QStringLiteral("Scores "));
        if (chosen.isEmpty())
            return;
        const QString name = chosen.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? chosen : chosen + QStringLiteral(".csv");
        const QString error = Exports::replaceFile(name, ScoresCsv::document(m_scoreRows, QLocale()));
        if (!error.isEmpty())
            reportError(error);
    });
}
