#include "About.h"

#include "Icons.h"
#include "Version.h"

#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel *placeLabel(QWidget *parent, const QString &text, const QRect &geometry, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(298, 225);
    QFont font(QStringLiteral("MS Sans Serif")); // the main window's font
    font.setPixelSize(11);
    setFont(font);
    setModal(false);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 281, 185);

    auto *icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(Icons::program());
    icon->setGeometry(12, 8, 32, 32);

    QLabel *title = placeLabel(panel, QStringLiteral("ZOLK-Zembrau Plot"), QRect(48, 10, 185, 16), Qt::AlignHCenter);
    title->setObjectName(QStringLiteral("ProductName"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto *shadow = new QGraphicsDropShadowEffect(title);
    shadow->setOffset(1, 1);
    shadow->setBlurRadius(0);
    shadow->setColor(QColor(128, 128, 128));
    title->setGraphicsEffect(shadow);

    placeLabel(panel,
               QStringLiteral("Построение профиля\nорганизационной культуры\nпо методике Зембрау"),
               QRect(69, 26, 170, 45), Qt::AlignHCenter)
        ->setObjectName(QStringLiteral("Comments"));
    placeLabel(panel, QStringLiteral(" Version " ZOLK_VERSION), QRect(13, 76, 120, 16), Qt::AlignLeft)
        ->setObjectName(QStringLiteral("Version"));

    auto *line = new QFrame(panel);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(5, 120, 271, 2);

    placeLabel(panel, QStringLiteral("Contact points are: "), QRect(16, 128, 250, 16), Qt::AlignHCenter)
        ->setObjectName(QStringLiteral("ContactHeading"));
    placeLabel(panel,
               QStringLiteral("Группа разработчиков ZOLK Plot\nzolk-plot@example.org"),
               QRect(16, 146, 250, 32), Qt::AlignHCenter)
        ->setObjectName(QStringLiteral("Contacts"));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(111, 196, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::showCentred()
{
    if (!isVisible()) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
}

void TAboutBox::OKButtonClick()
{
    hide();
}
