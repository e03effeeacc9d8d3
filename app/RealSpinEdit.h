#pragma once
// seDelta: a spin edit for reals that reports every change of the text it shows, typed, stepped or
// put back when editing ends, once each, and reads as its minimum while its text is not a number.

#include <QDoubleSpinBox>
#include <QLineEdit>

#include <algorithm>

class RealSpinEdit : public QDoubleSpinBox
{
    Q_OBJECT
public:
    explicit RealSpinEdit(QWidget *parent = nullptr)
        : QDoubleSpinBox(parent)
    {
        setDecimals(2);
        setAlignment(Qt::AlignCenter);
        setKeyboardTracking(true);
        // Typed text reaches the editor first, also while it is not a number; stepping and setValue
        // update the editor with its signals blocked and report through the spin box; when editing
        // ends (Enter, focus leaving) the spin box may put its value's text back without any signal.
        connect(lineEdit(), &QLineEdit::textChanged, this, &RealSpinEdit::reportIfChanged);
        connect(this, &QDoubleSpinBox::textChanged, this, &RealSpinEdit::reportIfChanged);
        connect(this, &QAbstractSpinBox::editingFinished, this, &RealSpinEdit::reportIfChanged);
    }

    // The value the text shows; the minimum while the text is not a number.
    double currentValue() const
    {
        bool ok = false;
        const double value = locale().toDouble(cleanText(), &ok);
        if (!ok)
            return minimum();
        return std::clamp(value, minimum(), maximum());
    }

    QLineEdit *editor() const { return lineEdit(); }

    // Either decimal sign is taken: a point typed under a locale with the decimal comma (and the
    // other way round) becomes the locale's sign, rather than being refused or read as 0.
    QValidator::State validate(QString &input, int &pos) const override
    {
        const QString decimal = locale().decimalPoint();
        input.replace(decimal == QLatin1String(",") ? u'.' : u',', decimal.at(0));
        return QDoubleSpinBox::validate(input, pos);
    }

signals:
    void textEdited();

protected:
    void focusOutEvent(QFocusEvent *event) override
    {
        QDoubleSpinBox::focusOutEvent(event);
        reportIfChanged();
    }

private:
    void reportIfChanged()
    {
        const QString shown = lineEdit()->text();
        if (shown == m_reported)
            return;
        m_reported = shown;
        emit textEdited();
    }

    QString m_reported;
};
