#include "desktopguard.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

void tellNoDesktop()
{
    std::fprintf(stderr, "%s\n", DesktopGuard::message);
    std::fflush(stderr);
}

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
    tellNoDesktop();
    for (const HeldMessage &held : std::as_const(heldMessages))
        tellToolkitReason(held);
    std::fflush(stderr);
    // The toolkit is half made: nothing of it may run on, so no exit handlers either.
    std::_Exit(DesktopGuard::noDesktopStatus);
}

[[maybe_unused]] bool nonEmpty(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

} // namespace

bool DesktopGuard::desktopNamed(int argc, char *argv[])
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    // A platform chosen by the user (a virtual display, a remote one) is the user's to judge.
    if (nonEmpty("QT_QPA_PLATFORM") || nonEmpty("DISPLAY") || nonEmpty("WAYLAND_DISPLAY"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    tellNoDesktop();
    return false;
#else
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    return true;
#endif
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
