#pragma once
// seDelta: a spin edit for reals that reports every change of its text, typed or stepped, and
// reads as its minimum while its text is not a number.

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
        // update the editor with its signals blocked and report through the spin box.
        connect(lineEdit(), &QLineEdit::textChanged, this, &RealSpinEdit::textEdited);
        connect(this, &QDoubleSpinBox::textChanged, this, &RealSpinEdit::textEdited);
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

signals:
    void textEdited();
};
