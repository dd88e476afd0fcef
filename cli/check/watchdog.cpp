#include "watchdog.h"

Watchdog::Watchdog(std::chrono::milliseconds limit, std::function<void()> onExpiry)
{
    m_thread = std::thread([this, limit, onExpiry = std::move(onExpiry)] {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_stopped.wait_for(lock, limit, [this] { return m_stop; }))
            onExpiry();
    });
}

Watchdog::~Watchdog()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_stopped.notify_one();
    m_thread.join();
}
