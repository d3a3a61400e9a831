#include "kit/Application.h"

#include "kit/ModalDriver.h"
#include "kit/Window.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <optional>
#include <vector>

namespace kit {

namespace {

struct ModalSession {
    QPointer<Window> window;
    QEventLoop loop;
    bool stopped = false;
    int code = ModalResponseStop;

    void stop(int stopCode) {
        code = stopCode;
        stopped = true;
        if (loop.isRunning()) {
            loop.quit();
        }
    }
};

std::vector<ModalSession*>& sessions() {
    static std::vector<ModalSession*> stack;
    return stack;
}

// A stop requested while no run was going; the next run ends with it at once.
std::optional<int>& pendingStop() {
    static std::optional<int> code;
    return code;
}

// Ends a run whose window is hidden (closed) without a stop: nobody could stop it any more.
class WindowGoneWatcher : public QObject {
public:
    explicit WindowGoneWatcher(ModalSession* session) : session_(session) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // A spontaneous hide is the window being minimized: the run goes on.
        if (event->type() == QEvent::Hide && !event->spontaneous() && !session_->stopped) {
            session_->stop(ModalResponseAbort);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    ModalSession* session_;
};

void showModal(QWidget* widget, Qt::WindowModality modality) {
    // Modality only takes effect when the window is shown.
    const bool wasVisible = widget->isVisible();
    if (wasVisible) {
        widget->hide();
    }
    widget->setWindowModality(modality);
    widget->show();
    widget->raise();
    widget->activateWindow();
}

void restoreModality(QWidget* widget, Qt::WindowModality modality) {
    if (widget->windowModality() == modality) {
        return;
    }
    if (widget->isVisible()) {
        widget->hide();
        widget->setWindowModality(modality);
        widget->show();
    } else {
        widget->setWindowModality(modality);
    }
}

void scheduleDriver(ModalSession& session) {
    ModalDriver* driver = ModalDriver::current();
    if (driver == nullptr) {
        return;
    }
    // The loop is the context: the step never fires after its run has ended.
    QTimer::singleShot(0, &session.loop, [&session, driver] {
        if (!session.stopped && session.window != nullptr) {
            driver->windowDidBeginModal(session.window);
        }
    });
    if (driver->timeLimit() > 0) {
        QTimer::singleShot(driver->timeLimit(), &session.loop, [&session] {
            if (!session.stopped) {
                std::fprintf(stderr, "kit::Application - modal run of \"%s\" timed out\n",
                             session.window != nullptr ? qPrintable(session.window->title()) : "");
                session.stop(ModalResponseAbort);
            }
        });
    }
}

} // namespace

int Application::runModal(Window* window) {
    if (window == nullptr || window->widget() == nullptr) {
        return ModalResponseAbort;
    }
    ModalSession session;
    session.window = window;
    if (pendingStop().has_value()) {
        session.stop(*pendingStop());
        pendingStop().reset();
    }
    sessions().push_back(&session);

    QWidget* widget = window->widget();
    const Qt::WindowModality previousModality = widget->windowModality();
    QPointer<QWidget> guardedWidget(widget);
    if (!session.stopped) {
        showModal(widget, Qt::ApplicationModal);
    }
    WindowGoneWatcher watcher(&session);
    widget->installEventFilter(&watcher);
    if (!session.stopped) {
        scheduleDriver(session);
        session.loop.exec(QEventLoop::DialogExec);
    }
    if (guardedWidget != nullptr) {
        guardedWidget->removeEventFilter(&watcher);
        restoreModality(guardedWidget, previousModality);
    }
    sessions().pop_back();
    return session.code;
}

void Application::stopModal() {
    stopModalWithCode(ModalResponseStop);
}

void Application::abortModal() {
    stopModalWithCode(ModalResponseAbort);
}

void Application::stopModalWithCode(int code) {
    if (sessions().empty()) {
        pendingStop() = code;
        return;
    }
    sessions().back()->stop(code);
}

Window* Application::modalWindow() {
    if (sessions().empty()) {
        return nullptr;
    }
    return sessions().back()->window;
}

int Application::modalDepth() {
    return static_cast<int>(sessions().size());
}

} // namespace kit
