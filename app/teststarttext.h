#ifndef TESTSTARTTEXT_H
#define TESTSTARTTEXT_H

#include <QString>

struct SerialSweepPlan;

// What a screen reader user is told as a test starts, before the window goes quiet for its
// length: what is tested and about how long it may take, and the values the test corrected in
// the fields.
QString networkStartText(const QString &address);
QString sweepStartText(const SerialSweepPlan &plan);

#endif // TESTSTARTTEXT_H
