// A request to end the program that lets the write in progress finish first. On Windows
// it comes from the console (Ctrl+C, Ctrl+Break, its window closed, the user signing out,
// the system shutting down) on a thread of its own, and the program ends soon after the
// request returns: a write cut off would leave a record half old and half new, or new
// records under the old header. A whole write takes about 1.3 s; Windows allows 5.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class Interruption {
public:
    // From the requesting thread: no write begins after this. Returns once no write is in
    // progress and, with `untilRunEnds`, the run has ended too, or after `limit`.
    void Request(std::chrono::milliseconds limit, bool untilRunEnds);
    bool Requested() const;

    // The run's part: true, and the write may begin, unless an end was requested.
    bool BeginWrite();
    void EndWrite();
    // The run has told its outcome: the program may end now.
    void RunEnded();
    bool HasRunEnded() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_requested = false;
    bool m_writing = false;
    bool m_runEnded = false;
};
