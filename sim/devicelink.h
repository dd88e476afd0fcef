#ifndef DEVICELINK_H
#define DEVICELINK_H

#include <QString>

// A symbolic link of the user's choosing to the simulator's device, so that a program can
// be pointed at a fixed name (/tmp/printer0) instead of a /dev/pts number that changes on
// every run. The link goes away with this object, if it still points where it was made to.
class DeviceLink
{
public:
    DeviceLink() = default;
    ~DeviceLink();
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    // Makes linkPath point at target. Anything already at linkPath is left alone and makes
    // this fail, except a dangling link, which an earlier run that was killed left behind.
    bool create(const QString &linkPath, const QString &target, QString *error);
    void remove();

    QString path() const { return m_path; }

private:
    QString m_path;
    QString m_target;
};

#endif // DEVICELINK_H
