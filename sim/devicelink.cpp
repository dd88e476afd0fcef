#include "devicelink.h"

#include <QFile>
#include <QFileInfo>

DeviceLink::~DeviceLink()
{
    remove();
}

bool DeviceLink::create(const QString &linkPath, const QString &target, QString *error)
{
    remove();
    const QFileInfo existing(linkPath);
    if (existing.isSymLink() && !existing.exists()) {
        if (!QFile::remove(linkPath)) {
            *error = QStringLiteral("cannot replace the dangling link %1").arg(linkPath);
            return false;
        }
    } else if (existing.exists() || existing.isSymLink()) {
        *error =
            QStringLiteral("%1 already exists; remove it or choose another --link").arg(linkPath);
        return false;
    }
    QFile device(target);
    if (!device.link(linkPath)) {
        *error = QStringLiteral("cannot make the link %1: %2").arg(linkPath, device.errorString());
        return false;
    }
    m_path = linkPath;
    m_target = target;
    return true;
}

void DeviceLink::remove()
{
    if (m_path.isEmpty())
        return;
    // Someone may have put something else there meanwhile; that is theirs.
    if (QFileInfo(m_path).symLinkTarget() == QFileInfo(m_target).absoluteFilePath())
        QFile::remove(m_path);
    m_path.clear();
    m_target.clear();
}
