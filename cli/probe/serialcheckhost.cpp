#include "serialcheckhost.h"

#include "portfailure.h"
#include "replycodes.h"
#include "statustext.h"

#include <utility>

void SerialCheckHost::setTestRunning(bool running)
{
    Q_UNUSED(running)
}

void SerialCheckHost::setComFraText(const QString &text)
{
    m_correctedFra = text;
}

void SerialCheckHost::setComTilText(const QString &text)
{
    m_correctedTil = text;
}

void SerialCheckHost::setPauseText(const QString &text)
{
    Q_UNUSED(text)
}

void SerialCheckHost::replyReceived(qint16 port, const QString &reply)
{
    // Any letter in a frame, known or not: an unknown one is the printer's trouble, told as
    // such. Bytes without a frame are no printer's status.
    const PrinterStatus status = readSerialStatus(reply);
    if (status.framed)
        m_answers.append(Answer{port, status});
    else if (!reply.isEmpty())
        m_noStatus.append(NoStatus{port, reply});
}

void SerialCheckHost::portDenied(qint16 port, const QString &device)
{
    m_denied.append(Denied{port, device});
}

void SerialCheckHost::openFailed(qint16 port, qint32 number, const QString &device)
{
    const bool denied = !m_denied.isEmpty() && m_denied.constLast().port == port;
    if (PortFailure::reasonOf(number, denied) == PortFailure::Reason::InUse)
        m_inUse.append(Denied{port, device});
}

void SerialCheckHost::portDone()
{
    if (m_portDoneHandler)
        m_portDoneHandler();
}

void SerialCheckHost::setPortDoneHandler(std::function<void()> handler)
{
    m_portDoneHandler = std::move(handler);
}

std::optional<CheckSummary> SerialCheckHost::findingSoFar(const SerialSweepFields &fields,
                                                          const LabelThresholds &thresholds) const
{
    if (m_answers.isEmpty())
        return std::nullopt;
    return summary(fields, thresholds);
}

QString SerialCheckHost::deniedText(qint16 port, const QString &device)
{
    return PortFailure::told(port, device, PortFailure::Reason::NoAccess);
}

CheckSummary SerialCheckHost::summary(const SerialSweepFields &fields,
                                      const LabelThresholds &thresholds) const
{
    CheckSummary result;
    const auto deniedText = [](const Denied &denied) {
        return SerialCheckHost::deniedText(denied.port, denied.device);
    };
    for (const Answer &answer : m_answers) {
        result.details << QStringLiteral("com%1: %2 (status %3)")
                              .arg(answer.port)
                              .arg(serialStatusText(answer.status).trimmed(), answer.status.letter);
    }
    const auto inUseText = [](const Denied &inUse) {
        return PortFailure::told(inUse.port, inUse.device, PortFailure::Reason::InUse);
    };
    for (const Denied &denied : m_denied)
        result.details << deniedText(denied);
    for (const Denied &inUse : m_inUse)
        result.details << inUseText(inUse);
    const auto noStatusText = [](const NoStatus &noStatus) {
        return QStringLiteral("com%1 svarte, men ikke med en status: mulig feil hastighet")
            .arg(noStatus.port);
    };
    for (const NoStatus &noStatus : m_noStatus) {
        result.details << noStatusText(noStatus) + QStringLiteral("; mottatt (tegnkoder) ") +
                              replyCodes(noStatus.reply);
    }
    result.perfData << QStringLiteral("answered=%1;;;0").arg(m_answers.size());

    if (m_answers.isEmpty()) {
        if (!m_denied.isEmpty()) {
            result.status = CheckStatus::Unknown;
            result.text = deniedText(m_denied.first());
            return result;
        }
        if (!m_inUse.isEmpty()) {
            result.status = CheckStatus::Unknown;
            result.text = inUseText(m_inUse.first());
            return result;
        }
        result.status = CheckStatus::Critical;
        if (!m_noStatus.isEmpty()) {
            result.text = noStatusText(m_noStatus.first()) +
                          QStringLiteral(" (%1), prøv en annen").arg(fields.hastighet);
            return result;
        }
        result.text = QStringLiteral("ingen serieport svarte (com %1 til %2, %3)")
                          .arg(m_correctedFra.isEmpty() ? fields.comFra.trimmed() : m_correctedFra,
                               m_correctedTil.isEmpty() ? fields.comTil.trimmed() : m_correctedTil,
                               fields.hastighet);
        return result;
    }
    // The worst answer decides; the first of equally bad ones is named.
    const Answer *worst = &m_answers.first();
    result.status = statusOfLetter(worst->status.letter);
    for (const Answer &answer : m_answers) {
        const CheckStatus status = statusOfLetter(answer.status.letter);
        if (worseStatus(status, result.status) != result.status) {
            result.status = status;
            worst = &answer;
        }
    }
    result.text = QStringLiteral("com%1: %2 (status %3")
                      .arg(worst->port)
                      .arg(serialStatusText(worst->status).trimmed(), worst->status.letter);
    const QString &labels = worst->status.labels;
    if (!labels.isEmpty())
        result.text += QStringLiteral(", ") + labels + QStringLiteral(" etiketter igjen");
    result.text += QLatin1Char(')');
    if (m_answers.size() > 1)
        result.text += QStringLiteral(", %1 porter svarte").arg(m_answers.size());
    applyLabelThresholds(result, labels, thresholds);
    return result;
}
