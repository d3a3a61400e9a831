#include "kit/AvahiQtPoll.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <sys/time.h>

// The library declares these two types and leaves their contents to the poll implementation.
// A watch or time-out freed from inside its own callback is only marked there; the dispatcher
// deletes it once the callback has returned, and its Qt object goes through deleteLater because
// it is still emitting.

struct AvahiWatch {
    int fd = -1;
    AvahiWatchEvent wanted = AvahiWatchEvent(0);
    AvahiWatchEvent happened = AvahiWatchEvent(0);
    AvahiWatchCallback callback = nullptr;
    void* userdata = nullptr;
    std::unique_ptr<QSocketNotifier> reader;
    std::unique_ptr<QSocketNotifier> writer;
    bool dispatching = false;
    bool freed = false;
};

struct AvahiTimeout {
    std::unique_ptr<QTimer> timer;
    AvahiTimeoutCallback callback = nullptr;
    void* userdata = nullptr;
    bool dispatching = false;
    bool freed = false;
};

namespace kit {

namespace {

void releaseLater(std::unique_ptr<QSocketNotifier>& notifier) {
    if (notifier) {
        notifier->setEnabled(false);
        notifier.release()->deleteLater();
    }
}

void enableWatch(AvahiWatch* watch) {
    watch->reader->setEnabled((watch->wanted & AVAHI_WATCH_IN) != 0);
    watch->writer->setEnabled((watch->wanted & AVAHI_WATCH_OUT) != 0);
}

void dispatchWatch(AvahiWatch* watch, AvahiWatchEvent event) {
    if (watch->freed) {
        return;
    }
    watch->dispatching = true;
    watch->happened = event;
    watch->callback(watch, watch->fd, event, watch->userdata);
    watch->dispatching = false;
    watch->happened = AvahiWatchEvent(0);
    if (watch->freed) {
        releaseLater(watch->reader);
        releaseLater(watch->writer);
        delete watch;
    }
}

AvahiWatch* watchNew(const AvahiPoll* /*api*/, int fd, AvahiWatchEvent event,
                     AvahiWatchCallback callback, void* userdata) {
    auto* watch = new AvahiWatch;
    watch->fd = fd;
    watch->wanted = event;
    watch->callback = callback;
    watch->userdata = userdata;
    watch->reader = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    watch->writer = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    QObject::connect(watch->reader.get(), &QSocketNotifier::activated,
                     [watch] { dispatchWatch(watch, AVAHI_WATCH_IN); });
    QObject::connect(watch->writer.get(), &QSocketNotifier::activated,
                     [watch] { dispatchWatch(watch, AVAHI_WATCH_OUT); });
    enableWatch(watch);
    return watch;
}

void watchUpdate(AvahiWatch* watch, AvahiWatchEvent event) {
    watch->wanted = event;
    enableWatch(watch);
}

AvahiWatchEvent watchGetEvents(AvahiWatch* watch) {
    return watch->happened;
}

void watchFree(AvahiWatch* watch) {
    watch->freed = true;
    if (watch->dispatching) {
        watch->reader->setEnabled(false);
        watch->writer->setEnabled(false);
        return;
    }
    delete watch;
}

// Milliseconds from now until the absolute time, rounded up so a time-out never fires early.
int millisecondsUntil(const struct timeval* when) {
    struct timeval now {};
    gettimeofday(&now, nullptr);
    const std::int64_t micros = (std::int64_t(when->tv_sec) - now.tv_sec) * 1000000 +
                                (std::int64_t(when->tv_usec) - now.tv_usec);
    if (micros <= 0) {
        return 0;
    }
    const std::int64_t millis = (micros + 999) / 1000;
    return millis > INT32_MAX ? INT32_MAX : int(millis);
}

void armTimeout(AvahiTimeout* timeout, const struct timeval* when) {
    if (when == nullptr) {
        timeout->timer->stop();
    } else {
        timeout->timer->start(millisecondsUntil(when));
    }
}

void dispatchTimeout(AvahiTimeout* timeout) {
    if (timeout->freed) {
        return;
    }
    timeout->dispatching = true;
    timeout->callback(timeout, timeout->userdata);
    timeout->dispatching = false;
    if (timeout->freed) {
        timeout->timer.release()->deleteLater();
        delete timeout;
    }
}

AvahiTimeout* timeoutNew(const AvahiPoll* /*api*/, const struct timeval* when,
                         AvahiTimeoutCallback callback, void* userdata) {
    auto* timeout = new AvahiTimeout;
    timeout->callback = callback;
    timeout->userdata = userdata;
    timeout->timer = std::make_unique<QTimer>();
    timeout->timer->setSingleShot(true);
    timeout->timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timeout->timer.get(), &QTimer::timeout,
                     [timeout] { dispatchTimeout(timeout); });
    armTimeout(timeout, when);
    return timeout;
}

void timeoutUpdate(AvahiTimeout* timeout, const struct timeval* when) {
    armTimeout(timeout, when);
}

void timeoutFree(AvahiTimeout* timeout) {
    timeout->freed = true;
    timeout->timer->stop();
    if (!timeout->dispatching) {
        delete timeout;
    }
}

} // namespace

AvahiQtPoll::AvahiQtPoll() {
    api_.userdata = this;
    api_.watch_new = watchNew;
    api_.watch_update = watchUpdate;
    api_.watch_get_events = watchGetEvents;
    api_.watch_free = watchFree;
    api_.timeout_new = timeoutNew;
    api_.timeout_update = timeoutUpdate;
    api_.timeout_free = timeoutFree;
}

} // namespace kit
