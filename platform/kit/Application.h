#pragma once

namespace kit {

class Window;

// Answers of a modal run ended without a code of its own.
constexpr int ModalResponseStop = -1000;
constexpr int ModalResponseAbort = -1001;
// Answers of alerts: first button, second, third (1000 + index in general).
constexpr int AlertFirstButtonReturn = 1000;
constexpr int AlertSecondButtonReturn = 1001;
constexpr int AlertThirdButtonReturn = 1002;
// Answers of open panels.
constexpr int ModalResponseCancel = 0;
constexpr int ModalResponseOK = 1;

// Application-modal runs of windows, nested in each other.
//
// runModal() shows the window application-modal and blocks in a nested event loop until the
// innermost run is stopped. A stop requested before that run's loop has started (while the
// window is being shown, or with no run going at all) ends the next run at once: the request is
// kept as a flag instead of being lost as a QEventLoop::quit() before exec() would be.
// A modal window that gets hidden or closed without a stop ends its run with
// ModalResponseAbort, so the loop never outlives its window.
//
// With a ModalDriver installed, the driver is called inside every run once the window is shown
// and the loop is running.
class Application {
public:
    // The code the run was stopped with. A null window answers ModalResponseAbort at once.
    static int runModal(Window* window);
    // Stops the innermost run with ModalResponseStop.
    static void stopModal();
    static void stopModalWithCode(int code);
    static void abortModal();

    // The window of the innermost run, or null.
    static Window* modalWindow();
    // How many runs are nested right now.
    static int modalDepth();
};

} // namespace kit
