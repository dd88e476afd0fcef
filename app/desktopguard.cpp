#include "desktopguard.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

const char *const DesktopGuard::message =
    "Solvarn printersjekk trenger et grafisk skrivebord; solvarn-sjekk kjører de samme testene "
    "i en terminal.";

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
QList<HeldMessage> heldMessages;

// The toolkit's own words, in its own format, for the user who must fix the display or a
// missing library: which display it tried, which plugin it could not load.
void tellToolkitReason(const HeldMessage &message)
{
    const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
    const QString line = qFormatLogMessage(message.type, context, message.text);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

void holdOrRefuse(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    heldMessages.append({type, QByteArray(context.category), text});
    if (type != QtFatalMsg)
        return;
    DesktopGuard::tellNoDesktop();
    for (const HeldMessage &held : std::as_const(heldMessages))
        tellToolkitReason(held);
    std::fflush(stderr);
    // The toolkit is half made: nothing of it may run on, so no exit handlers either.
    std::_Exit(DesktopGuard::noDesktopStatus);
}

} // namespace

void DesktopGuard::tellNoDesktop()
{
    std::fprintf(stderr, "%s\n", DesktopGuard::message);
    std::fflush(stderr);
}

DesktopGuard::DesktopGuard()
{
    heldMessages.clear();
    previousHandler = qInstallMessageHandler(holdOrRefuse);
}

DesktopGuard::~DesktopGuard()
{
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage &held : std::as_const(heldMessages)) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
        qt_message_output(held.type, context, held.text);
    }
    heldMessages.clear();
}
