#ifndef QUIETACCESSIBILITY_H
#define QUIETACCESSIBILITY_H

class QObject;

// Keeps from screen readers the events that only make noise, so that what matters is heard:
// - the log's text and caret while a test runs. A star comes every quarter second and the log
//   holds the focus; Orca 43 reads each as inserted text seconds late, and on a busy machine
//   drops events past its queue's limit, the verdict among them. The start and the verdict are
//   announced instead, and the log is read afresh whenever it is asked.
// - a field's selection cleared as the focus leaves it, which Orca 43 tells as "Text
//   unselected." on every Tab out of a field: only the field that has the focus has a
//   selection worth telling.
// - the name given to a hidden announcement, which is told as it appears.
class QuietAccessibility
{
public:
    // Once, before the first control exists; keeps any handler installed before it.
    static void install();
    // While on, the object's text events reach no screen reader.
    static void setQuiet(QObject *object, bool quiet);
};

#endif // QUIETACCESSIBILITY_H
