#ifndef COMPORTNUMBERING_H
#define COMPORTNUMBERING_H

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

// Finds the device behind a COM number: the name to open it by, or the empty text when no port
// has that number.
using ComPortResolver = std::function<QString(qint16 number)>;

// The system's numbering. On Windows, COM n is the system's own COMn. Elsewhere COM n is the
// n-th serial port that the system lists, in the order of devicePathLess, so that on-board
// ports and USB adapters alike get small numbers. The listing is taken again only when the
// one held is older than listingLifetimeMs: a sweep over many absent numbers then costs one
// listing, and a device plugged in between two sweeps is seen by the next.
ComPortResolver systemComPortResolver();
constexpr qint64 listingLifetimeMs = 2000;

// The device path of COM number (1 for the first) among the given paths, or the empty text.
QString comPortByDevicePath(QStringList devicePaths, qint16 number);

// Device path order with runs of digits compared as numbers: /dev/ttyS2 before /dev/ttyS10,
// /dev/ttyACM0 before /dev/ttyS0 before /dev/ttyUSB0.
bool devicePathLess(const QString &left, const QString &right);

#endif // COMPORTNUMBERING_H
