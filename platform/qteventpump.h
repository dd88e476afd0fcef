#ifndef QTEVENTPUMP_H
#define QTEVENTPUMP_H

#include "eventpump.h"

class QtEventPump : public EventPump
{
public:
    void processEvents() override;
};

#endif // QTEVENTPUMP_H
