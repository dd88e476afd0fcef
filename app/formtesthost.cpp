#include "formtesthost.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

FormTestHost::FormTestHost(const FormFields &fields)
    : m_fields(fields)
{
}

SerialSweepFields FormTestHost::serialFields() const
{
    SerialSweepFields fields;
    fields.comFra = m_fields.txtComFra->text();
    fields.comTil = m_fields.txtComTil->text();
    fields.hastighet = m_fields.comboHastighet->currentText();
    fields.pause = m_fields.txtPause->text();
    return fields;
}

QString FormTestHost::address() const
{
    return m_fields.txtIP ? m_fields.txtIP->text() : QString();
}

void FormTestHost::setTestRunning(bool running)
{
    m_fields.cmdTest->setEnabled(!running);
}

void FormTestHost::setComFraText(const QString &text)
{
    m_fields.txtComFra->setText(text);
}

void FormTestHost::setComTilText(const QString &text)
{
    m_fields.txtComTil->setText(text);
}

void FormTestHost::setPauseText(const QString &text)
{
    m_fields.txtPause->setText(text);
}

void FormTestHost::replyReceived(qint16 port, const QString &reply)
{
    // The window shows replies in the log only.
    Q_UNUSED(port)
    Q_UNUSED(reply)
}

void FormTestHost::portDone()
{
    // The sweep lets no events run: this is the only time the window shows its progress.
    if (m_fields.window)
        m_fields.window->repaint();
}
