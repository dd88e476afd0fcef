#ifndef EVENTPUMP_H
#define EVENTPUMP_H

// "Let pending window events run": the network test calls it at fixed points of its loop,
// and socket events and the user's clicks are delivered there.
class EventPump
{
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
};

#endif // EVENTPUMP_H
