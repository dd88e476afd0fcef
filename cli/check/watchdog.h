#ifndef WATCHDOG_H
#define WATCHDOG_H

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Calls onExpiry from a thread of its own when the time runs out before the watchdog is
// destroyed. The tests block their thread for seconds at a time (sleeps, a serial port that
// stalls on opening, a name lookup), so only another thread can end a check that hangs.
class Watchdog
{
public:
    Watchdog(std::chrono::milliseconds limit, std::function<void()> onExpiry);
    ~Watchdog();
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stop = false;
    std::thread m_thread;
};

#endif // WATCHDOG_H
