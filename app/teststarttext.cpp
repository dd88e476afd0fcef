#include "teststarttext.h"

#include "networktest.h"
#include "serialsweephost.h"

#include <QtGlobal>

namespace {

constexpr qint64 msPerSecond = 1000;
constexpr qint64 secondsPerMinute = 60;
// Up to here a bound is told in seconds, beyond it in minutes.
constexpr qint64 longestInSeconds = 120;

// A time bound in words, rounded up: a user waits at most that long.
QString boundText(qint64 milliseconds)
{
    const qint64 seconds = (milliseconds + msPerSecond - 1) / msPerSecond;
    if (seconds <= 1)
        return QStringLiteral("innen ett sekund");
    if (seconds <= longestInSeconds)
        return QStringLiteral("innen omtrent %1 sekunder").arg(seconds);
    const qint64 minutes = (seconds + secondsPerMinute - 1) / secondsPerMinute;
    return QStringLiteral("innen omtrent %1 minutter").arg(minutes);
}

} // namespace

QString networkStartText(const QString &address)
{
    return QStringLiteral("Tester skriveren på %1, svar %2.")
        .arg(address, boundText(NetworkTest::longestWaitMs));
}

QString sweepStartText(const SerialSweepPlan &plan)
{
    QString text;
    if (plan.portsCorrected)
        text += QStringLiteral("Portene er rettet til com%1. ").arg(plan.comFra);
    if (plan.pauseCorrected)
        text += QStringLiteral("Pausen er rettet til %1 ms. ").arg(plan.pause);
    // Each port takes at least its pause; one that fails to open takes less.
    const qint64 ports = qint64(plan.comTil) - plan.comFra + 1;
    const QString range = ports == 1
                              ? QStringLiteral("com%1").arg(plan.comFra)
                              : QStringLiteral("com%1 til com%2").arg(plan.comFra).arg(plan.comTil);
    text +=
        QStringLiteral("Tester %1 med hastighet %2 og pause %3 ms, ferdig %4.")
            .arg(range, plan.hastighet, QString::number(plan.pause), boundText(ports * plan.pause));
    return text;
}
