#include "formtesthost.h"

#include "statustext.h"

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

QString FormTestHost::serialVerdict() const
{
    if (m_answers.isEmpty())
        return GetStatustext(QString());
    return m_answers.join(QStringLiteral("; "));
}

void FormTestHost::setTestRunning(bool running)
{
    if (running)
        m_answers.clear();
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
    // A port answered where its status text is another than that of silence.
    const QString status = GetStatustext(reply);
    if (status != GetStatustext(QString()))
        m_answers << QStringLiteral("com%1: %2").arg(port).arg(status);
}

void FormTestHost::portDone()
{
    // The sweep lets no events run: this is the only time the window shows its progress.
    if (m_fields.window)
        m_fields.window->repaint();
}
