#include "ProfileCircle.h"

#include "Session.h"

#include "CirclePicture.h"
#include "Fonts.h"
#include "GridPicture.h"
#include "JpegCodec.h"
#include "PlainText.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPromise>
#include <QThreadPool>

#include <memory>

namespace {

QImage backgroundPicture()
{
    QFile file(QStringLiteral(":/culture-model.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const Outcome<QImage> image = JpegCodec::decode(file.readAll());
    if (!image) {
        qWarning("The background picture could not be decoded: %s", qPrintable(image.message()));
        return QImage();
    }
    return *image;
}

// The picture of the culture model: the embedded JPEG at 100 %, the pixels every export has always
// held (decoded already when decoded is valid); drawn afresh at the screen's pixel ratio above that,
// so that it stays sharp.
QPixmap backgroundPixmap(qreal ratio, const QFuture<QImage> &decoded)
{
    if (ratio <= 1.0)
        return QPixmap::fromImage(decoded.isValid() ? decoded.result() : backgroundPicture());
    using namespace CirclePicture;
    QImage image(QSize(BackgroundWidth, BackgroundHeight) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawBackground(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

QLabel *makeCaption(QWidget *parent, const char *name, const QString &text, const QPoint &at, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setFont(Fonts::window(13));
    label->setAlignment(alignment | Qt::AlignTop);
    label->move(at);
    label->adjustSize();
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

// Sets a caption's text and sizes it to the text, keeping its left or right edge.
void setCaption(QLabel *label, const QString &text, bool keepRight)
{
    const int right = label->x() + label->width();
    const QString shown = CirclePicture::fittedCaption(text, label->font());
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : plainToolTip(text));
    label->adjustSize();
    if (keepRight)
        label->move(right - label->width(), label->y());
}

} // namespace

ProfileOverlay::ProfileOverlay(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("imPlot"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

QImage &ProfileOverlay::bitmap()
{
    if (m_bitmap.isNull()) {
        // In the screen's pixels, drawn in the widget's: sharp at 150 % and 200 %.
        const qreal ratio = devicePixelRatioF();
        m_bitmap = QImage(size() * ratio, QImage::Format_RGB32);
        m_bitmap.setDevicePixelRatio(ratio);
        m_bitmap.fill(Qt::white);
    }
    return m_bitmap;
}

void ProfileOverlay::commit()
{
    // The transparent colour is the bitmap's bottom-left pixel, which the clearing makes white.
    // The shown picture is made again in the same buffer: a new one at every refresh would churn
    // over a megabyte a load.
    const QRgb transparent = m_bitmap.pixel(0, m_bitmap.height() - 1);
    if (m_shown.size() != m_bitmap.size())
        m_shown = QImage(m_bitmap.size(), QImage::Format_ARGB32);
    m_shown.setDevicePixelRatio(m_bitmap.devicePixelRatio());
    // The sizes are read once: QImage::width() is a call the loop would repeat for every pixel.
    const int width = m_shown.width();
    const int height = m_shown.height();
    for (int y = 0; y < height; ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(m_bitmap.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(m_shown.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = from[x] == transparent ? 0 : (from[x] | 0xFF000000u);
    }
    update();
}

void ProfileOverlay::paintEvent(QPaintEvent *)
{
    if (m_shown.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_shown);
}

PlotLabel::PlotLabel(int tag, QWidget *parent)
    : QLabel(parent)
    , m_tag(tag)
{
    setObjectName(QStringLiteral("PlotLabel%1").arg(tag));
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    setFont(Fonts::valueLabel());
    move(0, 0);
}

void PlotLabel::setTextKeepingLeft(const QString &text)
{
    setText(text);
    resize(sizeHint());
}

void PlotLabel::setBand(ScoreBand band)
{
    QFont styled = font();
    styled.setBold(Scoring::bandIsBold(band));
    setFont(styled);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Scoring::bandColor(band));
    setPalette(colours);
    resize(sizeHint());
}

void PlotLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
}

QFuture<QImage> ProfileCircleView::decodePicture()
{
    if (qApp->devicePixelRatio() > 1.0)
        return {};
    // The promise is shared because the pool takes a copyable function.
    auto promise = std::make_shared<QPromise<QImage>>();
    QFuture<QImage> future = promise->future();
    promise->start();
    // Only on a thread free now: queued behind other work, the window would wait for that too.
    const bool started = QThreadPool::globalInstance()->tryStart([promise] {
        promise->addResult(backgroundPicture());
        promise->finish();
    });
    return started ? future : QFuture<QImage>();
}

ProfileCircleView::ProfileCircleView(QWidget *parent, QFuture<QImage> picture)
    : BevelPanel(parent)
{
    using namespace CirclePicture;
    setObjectName(QStringLiteral("paPlot"));
    setFocusPolicy(Qt::NoFocus);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("imJPEG"));
    m_picture->setGeometry(OverlayOffset, OverlayOffset, 762, 714);
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->setPixmap(backgroundPixmap(qApp->devicePixelRatio(), picture));
    m_overlay = new ProfileOverlay(this);
    m_overlay->setGeometry(OverlayOffset, OverlayOffset, OverlayWidth, OverlayHeight);
    m_info = makeCaption(this, "laInfoImage", QStringLiteral("Code. Name"), QPoint(InfoCaptionLeft, CaptionTop), Qt::AlignLeft);
    m_date = makeCaption(this, "laDateImage", QStringLiteral("Date"), QPoint(DateCaptionLeft, CaptionTop), Qt::AlignRight);
    // The labels are made after the panel's own pictures, so that they lie above the overlay.
    for (int tag = 0; tag < LabelCount; ++tag) {
        auto *label = new PlotLabel(tag, this);
        connect(label, &PlotLabel::clicked, this, [this](PlotLabel *clicked) { emit labelClicked(clicked->tag()); });
        m_labels[std::size_t(tag)] = label;
    }
}

void ProfileCircleView::drawOverlay()
{
    using namespace CirclePicture;
    QImage &bitmap = m_overlay->bitmap();
    {
        QPainter painter(&bitmap);
        painter.fillRect(bitmap.rect(), Qt::white);
        const QPoint centre = plotCentre(m_overlay->width(), m_overlay->height());
        if (m_reference) {
            drawPolygon(painter, vertices(*m_reference, centre), PolygonStyle::Reference);
            // The legend in panel pixels, the overlay's own shifted by its offset.
            painter.save();
            painter.translate(-OverlayOffset, -OverlayOffset);
            painter.setFont(Fonts::window(11));
            drawLegend(painter, m_profileName, m_referenceName);
            painter.restore();
        }
        drawPolygon(painter, vertices(m_scores, centre));
    }
    m_overlay->commit();
}

void ProfileCircleView::setReference(const Profile *reference, const QString &profileName, const QString &referenceName)
{
    m_reference = reference ? std::optional(reference->scores.IndexScores) : std::nullopt;
    m_profileName = profileName;
    m_referenceName = referenceName;
    drawOverlay();
}

void ProfileCircleView::follow(const Session &session)
{
    const auto captions = [this, &session] {
        const RespondentHeader &shown = session.header();
        setCaptions(shown.code, shown.name, shown.date);
    };
    const auto reference = [this, &session] {
        setReference(session.reference(), session.header().name, session.referenceName());
    };
    connect(&session, &Session::profileChanged, this, [this, &session, captions, reference] {
        showProfile(session.profile(), session.band());
        if (session.reference())
            reference();
        captions();
    });
    connect(&session, &Session::referenceChanged, this, reference);
    connect(&session, &Session::bandChanged, this, [this, &session](double band) { setBand(session.profile().overallMean, band); });
    // The legend names the profile as the header now does.
    connect(&session, &Session::headerChanged, this, [&session, captions, reference] {
        captions();
        if (session.reference())
            reference();
    });
}

void ProfileCircleView::showProfile(const Profile &profile, double band)
{
    m_scores = profile.scores.IndexScores;
    drawOverlay();
    const auto placed = CirclePicture::labels(profile.scores, profile.overallMean, band);
    for (int tag = 0; tag < CirclePicture::LabelCount; ++tag) {
        PlotLabel *label = m_labels[std::size_t(tag)];
        label->setTextKeepingLeft(placed[std::size_t(tag)].text);
        label->setBand(placed[std::size_t(tag)].band);
        label->move(placed[std::size_t(tag)].topLeft);
        label->raise();
    }
}

void ProfileCircleView::setBand(double overallMean, double band)
{
    for (PlotLabel *label : m_labels)
        label->setBand(CirclePicture::labelBand(label->text(), overallMean, band));
}

void ProfileCircleView::setCaptions(const QString &code, const QString &name, const QString &date)
{
    setCaption(m_info, CirclePicture::infoCaption(code, name), false);
    setCaption(m_date, date, true);
}

QPoint ProfileCircleView::labelCell(int tag)
{
    using namespace CirclePicture;
    if (tag >= 0 && tag < 12)
        return QPoint(GridPicture::IndexColumn, GridPicture::indexRow(PlotIndexOrder[std::size_t(tag)]));
    return QPoint(GridPicture::TraitColumn, GridPicture::traitRow(TraitLabelPlaces[std::size_t(tag - 12)].trait));
}
