#pragma once
// ArchivePage: a tab of the analysis window that shows what the survey archive holds ("Нормы",
// "Динамика"). The archive is read the first time the tab is shown and again on refresh ("Обновить"
// and the tab's own controls), never before, so that opening the analysis costs no archive read.

#include <QWidget>

class ArchivePage : public QWidget
{
public:
    // Reads the archive again and shows what it holds.
    void refresh()
    {
        m_read = true;
        read();
    }

protected:
    using QWidget::QWidget;
    virtual void read() = 0;

    void showEvent(QShowEvent *event) override
    {
        QWidget::showEvent(event);
        if (!m_read)
            refresh();
    }

private:
    bool m_read = false;
};
