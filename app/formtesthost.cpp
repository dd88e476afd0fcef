#include "formtesthost.h"

#include "logpane.h"
#include "statustext.h"
#include "teststarttext.h"

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
    return m_verdict.text();
}

void FormTestHost::setTestRunning(bool running)
{
    if (running) {
        m_verdict.clear();
        m_verdictAt = -1;
        m_verdictIsStatus = false;
    }
    // Switched off, the test button hands the focus on, which a screen reader tells first.
    m_fields.cmdTest->setEnabled(!running);
    if (running && !m_startText.isEmpty()) {
        if (m_fields.announce)
            m_fields.announce(m_startText);
        m_startText.clear();
    }
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

void FormTestHost::sweepStarts(const SerialSweepPlan &plan)
{
    // Told before the first port, with the values corrected, while the window still answers.
    if (m_fields.announce)
        m_fields.announce(sweepStartText(plan));
}

void FormTestHost::replyReceived(qint16 port, const QString &reply)
{
    const PrinterStatus status = readSerialStatus(reply);
    m_verdict.replyReceived(port, status);
    m_lastReplyIsStatus = status.framed;
}

void FormTestHost::statusLineFollows(qint16 port)
{
    static_cast<void>(port);
    if (!m_fields.log || m_verdictIsStatus)
        return;
    if (m_verdictAt < 0 || m_lastReplyIsStatus) {
        m_verdictAt = m_fields.log->text().size();
        m_verdictIsStatus = m_lastReplyIsStatus;
    }
}

void FormTestHost::portFailed(qint16 port, qint32 errorNumber)
{
    const bool denied = m_fields.portDenied && m_fields.portDenied(port);
    m_verdict.portFailed(port, errorNumber, denied);
}

void FormTestHost::portDone()
{
    // The sweep lets no events run: this is the only time the window shows its progress.
    if (m_fields.window)
        m_fields.window->repaint();
}
