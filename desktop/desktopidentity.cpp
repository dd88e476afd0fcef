#include "desktopidentity.h"

#include "desktopnames.h"

#include <QGuiApplication>

namespace {
constexpr int iconSizes[] = {SOLVARN_ICON_SIZES};
} // namespace

namespace DesktopIdentity {

QIcon icon()
{
    QIcon result;
    for (const int size : iconSizes)
        result.addFile(QStringLiteral(":/icons/" SOLVARN_ICON_NAME "-%1.png").arg(size),
                       QSize(size, size));
    return result;
}

QString desktopFileName()
{
    return QStringLiteral(SOLVARN_APP_ID);
}

void apply()
{
    QGuiApplication::setWindowIcon(icon());
    QGuiApplication::setDesktopFileName(desktopFileName());
}

} // namespace DesktopIdentity
