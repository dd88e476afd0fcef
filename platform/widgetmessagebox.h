#ifndef WIDGETMESSAGEBOX_H
#define WIDGETMESSAGEBOX_H

#include "modalmessagebox.h"

#include <QPointer>
#include <QWidget>

class WidgetMessageBox : public ModalMessageBox
{
public:
    static constexpr const char *applicationTitle = "SjekkSolvarnprinter";

    explicit WidgetMessageBox(QWidget *parent = nullptr);
    void showMessage(const QString &text) override;

private:
    QPointer<QWidget> m_parent;
};

#endif // WIDGETMESSAGEBOX_H
