#pragma once
// A panel with a 1-pixel raised outer bevel and a 1-pixel lowered inner bevel, as the main window's
// panels have; its client area, where its children sit, is the whole panel.

#include <QFrame>

class BevelPanel : public QFrame
{
    Q_OBJECT
public:
    explicit BevelPanel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
