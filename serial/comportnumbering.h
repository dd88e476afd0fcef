#ifndef COMPORTNUMBERING_H
#define COMPORTNUMBERING_H

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

// Finds the device behind a COM number: the name to open it by, or the empty text when no port
// has that number.
using ComPortResolver = std::function<QString(qint16 number)>;
// The device paths of the serial ports that the system lists, in any order.
using ComPortLister = std::function<QStringList()>;

// How the serial control turns COM numbers into devices.
struct ComPortNumbering
{
    // Takes the list of ports afresh; empty where the numbers depend on no list.
    std::function<void()> takeListing;
    ComPortResolver resolve;
};

// The system's numbering. On Windows, COM n is the system's own COMn. Elsewhere COM n is the
// n-th serial port that the system lists, as listedComPortNumbering says. One file for each
// (comportnumbering_win.cpp, comportnumbering_unix.cpp), chosen by the build.
ComPortNumbering systemComPortNumbering();

// COM n is the n-th of the ports that lister gives, in the order of devicePathLess, so that
// on-board ports and USB adapters alike get small numbers. The list is taken by takeListing
// (the serial control does so once at the start of every sweep, or at the first resolve if
// nothing did) and held until the next takeListing: a device plugged in or pulled during a
// sweep cannot shift the numbers under it, and the next sweep sees it.
ComPortNumbering listedComPortNumbering(ComPortLister lister);

// The device path of COM number (1 for the first) among the given paths, or the empty text.
QString comPortByDevicePath(QStringList devicePaths, qint16 number);

// COM n is the n-th of the devices named, in the order given (no sorting: whoever names them
// says which is COM1), as SOLVARN_COM_PORTS gives them.
ComPortNumbering givenComPortNumbering(const QStringList &devices);

// Device path order with runs of digits compared as numbers: /dev/ttyS2 before /dev/ttyS10,
// /dev/ttyACM0 before /dev/ttyS0 before /dev/ttyUSB0.
bool devicePathLess(const QString &left, const QString &right);

#endif // COMPORTNUMBERING_H
