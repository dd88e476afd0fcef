#ifndef ADDRESSRANGE_H
#define ADDRESSRANGE_H

#include <QList>
#include <QString>
#include <QStringList>

// The IPv4 addresses that `find` tries, read from what the user wrote: a range in CIDR form
// (10.1.2.0/24, its network and broadcast addresses left out), a from-to range
// (10.1.2.10-10.1.2.60, or 10.1.2.10-60 within the last part), single addresses, each item
// separated from the next by a comma or as an argument of its own.
struct AddressList
{
    QList<quint32> addresses; // in the order written, each once
    QString error;            // why the text is no such list; empty when it is one
};

// Stops reading as soon as more than limit addresses are listed (the caller then refuses or
// asks for confirmation): a /0 is never spelt out.
AddressList parseAddressList(const QStringList &items, qsizetype limit);

QString addressText(quint32 address);

#endif // ADDRESSRANGE_H
