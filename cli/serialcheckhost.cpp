#include "serialcheckhost.h"

#include "statustext.h"

namespace {
// As the status text reads it: what lies at or below the blank is framing and padding.
constexpr char16_t highestSkipped = 32;
} // namespace

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
    for (const QChar c : reply) {
        if (c.unicode() > highestSkipped) {
            m_answers.append(Answer{port, c, reply});
            return;
        }
    }
}

void SerialCheckHost::portDone()
{
}

CheckSummary SerialCheckHost::summary(const SerialSweepFields &fields, qint64 elapsedMs) const
{
    CheckSummary result;
    result.perfData << elapsedPerfData(elapsedMs);
    if (m_answers.isEmpty()) {
        result.status = CheckStatus::Critical;
        result.text = QStringLiteral("ingen serieport svarte (com %1 til %2, %3)")
                          .arg(m_correctedFra.isEmpty() ? fields.comFra.trimmed() : m_correctedFra,
                               m_correctedTil.isEmpty() ? fields.comTil.trimmed() : m_correctedTil,
                               fields.hastighet);
        result.perfData << QStringLiteral("answered=0;;;0");
        return result;
    }
    // The worst answer decides; the first of equally bad ones is named.
    const Answer *worst = &m_answers.first();
    result.status = statusOfLetter(worst->letter);
    QStringList parts;
    for (const Answer &answer : m_answers) {
        const CheckStatus status = statusOfLetter(answer.letter);
        if (worseStatus(status, result.status) != result.status) {
            result.status = status;
            worst = &answer;
        }
        parts << QStringLiteral("com%1: %2 (status %3)")
                     .arg(answer.port)
                     .arg(GetStatustext(answer.reply).trimmed(), QString(answer.letter));
    }
    result.text = parts.join(QStringLiteral(", "));
    result.perfData << QStringLiteral("port=%1;;;1").arg(worst->port)
                    << QStringLiteral("answered=%1;;;0").arg(m_answers.size());
    return result;
}
