#ifndef REPLYCODES_H
#define REPLYCODES_H

#include <QString>

// The character codes of a reply that is no status, as the sweep's log lists them ("248 128 0
// 254"): what came at a wrong speed or from another device, for a summary or a list. A long
// reply is cut after its first codes and ends with " ...".
QString replyCodes(const QString &reply);

#endif // REPLYCODES_H
