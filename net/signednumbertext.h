#ifndef SIGNEDNUMBERTEXT_H
#define SIGNEDNUMBERTEXT_H

#include <QString>
#include <QtGlobal>

// An error number as the "Programfeil" boxes write it: one leading blank where a negative
// number has its minus sign ("  5" after a colon, " 40020", "-25516").
QString signedNumberText(qint32 number);

#endif // SIGNEDNUMBERTEXT_H
