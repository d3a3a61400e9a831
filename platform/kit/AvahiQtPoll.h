#pragma once

#include <avahi-common/watch.h>

namespace kit {

// The event-loop interface the Avahi client library drives, served by the Qt main loop: file
// descriptor watches are QSocketNotifiers, time-outs are single-shot QTimers. Every Avahi
// callback therefore runs on the thread that owns this object, between two turns of its loop.
//
// Why not Avahi's threaded poll: its callbacks run on a thread of their own and would have to be
// queued back to the main thread under a lock, while the callers here live on the main thread
// and expect their answers there; one loop keeps the code free of locks.
//
// Watches and time-outs belong to the client that made them and are freed by it; this object
// must outlive every client made with api().
class AvahiQtPoll {
public:
    AvahiQtPoll();
    ~AvahiQtPoll() = default;
    AvahiQtPoll(const AvahiQtPoll&) = delete;
    AvahiQtPoll& operator=(const AvahiQtPoll&) = delete;

    const AvahiPoll* api() const { return &api_; }

private:
    AvahiPoll api_{};
};

} // namespace kit
