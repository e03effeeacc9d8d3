#include "HeaderPanel.h"

#include "Fonts.h"
#include "Icons.h"
#include "PlainText.h"
#include "RealSpinEdit.h"
#include "Session.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolTip>

namespace {

const QString CrLf = QStringLiteral("\r\n");

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setFont(Fonts::window(16));
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
    edit->setFont(Fonts::window(17));
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    edit->setPalette(palette);
    return edit;
}

QLabel *makeImage(QWidget *parent, const char *name, const QPixmap &pixmap, const QRect &geometry)
{
    auto *image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setPixmap(pixmap);
    image->setGeometry(geometry);
    return image;
}

} // namespace

HeaderPanel::HeaderPanel(QWidget *parent)
    : BevelPanel(parent)
{
    setObjectName(QStringLiteral("paInfo"));
    makeLabel(this, "laA", QStringLiteral("Код"), QRect(8, 17, 61, 20), Qt::AlignRight);
    makeLabel(this, "Label2", QStringLiteral("Дата"), QRect(184, 17, 61, 20), Qt::AlignRight);
    m_name = makeLabel(this, "laName", QStringLiteral("Группа"), QRect(8, 55, 61, 20), Qt::AlignRight);
    makeLabel(this, "Label3", QStringLiteral("N анкет"), QRect(8, 93, 61, 20), Qt::AlignRight);
    QLabel *range = makeLabel(this, "Label4", QStringLiteral("Range"), QRect(260, 94, 0, 0), Qt::AlignRight);
    QPalette maroon = range->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    range->setPalette(maroon);
    // The pictures at the screen's pixel ratio: sharp at 150 % and 200 %, the same pixels at 100 %.
    const qreal ratio = qApp->devicePixelRatio();
    m_info = makeImage(this, "ImageInfo", Icons::notepad(ratio), QRect(5, 5, 16, 16));
    m_info->setCursor(Qt::PointingHandCursor);
    m_overviewImage = makeImage(this, "ImageAll", Icons::imageAll(ratio), QRect(8, 40, 17, 16));
    m_detailImage = makeImage(this, "Image5M", Icons::image5M(ratio), QRect(32, 40, 18, 16));
    m_gridImage = makeImage(this, "Image5T", Icons::image5T(ratio), QRect(56, 40, 26, 16));
    m_overviewImage->hide();
    m_detailImage->hide();
    m_gridImage->hide();
    m_code = makeEdit(this, "ceCode", QStringLiteral("0000"), QRect(92, 15, 81, 26));
    m_nameEdit = makeEdit(this, "ceName", QString(), QRect(92, 53, 309, 26));
    m_date = makeEdit(this, "ceDate", QStringLiteral("00.00.0000"), QRect(268, 15, 133, 26));
    m_respondents = makeEdit(this, "ceNanket", QStringLiteral("12"), QRect(92, 91, 81, 26));
    m_respondents->setReadOnly(true);
    m_band = new RealSpinEdit(this);
    m_band->setObjectName(QStringLiteral("seDelta"));
    m_band->setGeometry(332, 91, 70, 21);
    m_band->setFont(Fonts::pixelFont(Fonts::chartFamily(), 17));
    m_band->setRange(Scoring::BandMinimum, Scoring::BandMaximum);
    m_band->setSingleStep(0.01);
    m_band->setValue(Scoring::BandStart);

    // What a screen reader says of each field.
    m_code->setAccessibleName(QStringLiteral("Код"));
    m_nameEdit->setAccessibleName(QStringLiteral("ФИО или название группы"));
    m_date->setAccessibleName(QStringLiteral("Дата"));
    m_respondents->setAccessibleName(QStringLiteral("Число анкет"));
    m_band->setAccessibleName(QStringLiteral("Полуширина полосы (Range)"));
    m_info->setAccessibleName(QStringLiteral("Сведения об анкетах"));

    // Keyboard order within the panel: code, name, date, number of questionnaires, half-width.
    QWidget::setTabOrder(m_code, m_nameEdit);
    QWidget::setTabOrder(m_nameEdit, m_date);
    QWidget::setTabOrder(m_date, m_respondents);
    QWidget::setTabOrder(m_respondents, m_band);

    m_info->installEventFilter(this);
    for (QLineEdit *edit : {m_code, m_nameEdit, m_date})
        edit->installEventFilter(this);
    connect(m_band, &RealSpinEdit::textEdited, this, &HeaderPanel::bandEdited);
}

void HeaderPanel::follow(const Session &session)
{
    connect(&session, &Session::profileChanged, this, [this, &session] { showProfile(session.profile()); });
    // A half-width set elsewhere shows here; one the user types is the session's already.
    connect(&session, &Session::bandChanged, this, [this](double band) {
        if (m_band->currentValue() != band)
            m_band->setValue(band);
    });
}

void HeaderPanel::showProfile(const Profile &profile)
{
    m_date->setText(profile.header.date);
    m_code->setText(profile.header.code);
    m_nameEdit->setText(profile.header.name);
    m_infoLines = profile.header.info;
    m_hint = profile.hint();
    // The tooltip itself is made plain, so that no markup in a file's text is obeyed, wherever Qt
    // shows it from.
    m_info->setToolTip(plainToolTip(tooltipText(m_hint)));
    m_name->setText(profile.group ? ProfileText::groupName() : QStringLiteral("ФИО"));
    m_respondents->setText(QString::number(profile.respondentCount()));
}

RespondentHeader HeaderPanel::shownHeader() const
{
    RespondentHeader header;
    header.code = m_code->text();
    header.name = m_nameEdit->text();
    header.date = m_date->text();
    header.info = m_infoLines;
    return header;
}

QString HeaderPanel::hint() const { return m_hint; }
double HeaderPanel::band() const { return m_band->currentValue(); }
QPixmap HeaderPanel::overviewIcon() const { return m_overviewImage->pixmap(); }
QPixmap HeaderPanel::detailIcon() const { return m_detailImage->pixmap(); }

QString HeaderPanel::tooltipText(const QString &hint)
{
    QStringList lines = hint.split(CrLf);
    // The title line and TooltipNames names.
    const qsizetype shown = TooltipNames + 1;
    if (hint.startsWith(ProfileText::groupHintTitle()) && lines.size() > shown) {
        const qsizetype more = lines.size() - shown;
        lines.resize(shown);
        lines << QStringLiteral("… и ещё %1").arg(more);
    }
    return lines.join(u'\n');
}

bool HeaderPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_info && event->type() == QEvent::ToolTip) {
        // The summary stays up to 50 seconds, long enough to read it.
        const auto *help = static_cast<QHelpEvent *>(event);
        QToolTip::showText(help->globalPos(), m_info->toolTip(), m_info, QRect(), 50000);
        return true;
    }
    if (watched == m_info && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        emit summaryClicked();
        return true;
    }
    if (event->type() == QEvent::KeyRelease && (watched == m_code || watched == m_nameEdit || watched == m_date))
        emit headerEdited();
    return BevelPanel::eventFilter(watched, event);
}
