#include "MenuBarStyle.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

QSize MenuBarStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                     const QWidget *widget) const
{
    if (type == CT_MenuBarItem) {
        if (const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option); item && !item->icon.isNull()) {
            const QSize text = item->fontMetrics.size(Qt::TextShowMnemonic, item->text);
            const QSize contents(16 + 4 + text.width(), std::max(16, text.height()));
            return QProxyStyle::sizeFromContents(type, option, contents, widget);
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void MenuBarStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const
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

int MenuBarStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                            QStyleHintReturn *returnData) const
{
    if (hint == SH_MenuBar_AltKeyNavigation)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
