#pragma once
// Texts from result files are shown as the plain text they are, wherever Qt would otherwise read
// markup into them: a tooltip is rich text whenever its text looks like HTML, so a name such as
// "<img src=...>" would draw a picture. This wraps any text so that a tooltip shows it literally.

#include <QString>

inline QString plainToolTip(const QString &text)
{
    if (text.isEmpty())
        return text;
    QString html = text.toHtmlEscaped();
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    html.replace(QStringLiteral("\n"), QStringLiteral("<br>"));
    return QStringLiteral("<p style='white-space:pre'>") + html + QStringLiteral("</p>");
}
