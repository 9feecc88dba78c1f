#include "Interruption.h"

void Interruption::Request(std::chrono::milliseconds limit, bool untilRunEnds)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_requested = true;
    m_changed.wait_for(lock, limit, [&] { return !m_writing && (m_runEnded || !untilRunEnds); });
}

bool Interruption::Requested() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requested;
}

bool Interruption::BeginWrite()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_writing = !m_requested;
    return m_writing;
}

void Interruption::EndWrite()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_writing = false;
    }
    m_changed.notify_all();
}

void Interruption::RunEnded()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_runEnded = true;
    }
    m_changed.notify_all();
}

bool Interruption::HasRunEnded() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_runEnded;
}
