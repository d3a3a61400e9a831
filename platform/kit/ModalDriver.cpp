#include "kit/ModalDriver.h"

#include "kit/Application.h"
#include "kit/Window.h"

#include <cstdio>

namespace kit {

ModalDriver::ModalDriver(Step everyRun) : everyRun_(std::move(everyRun)) {}

void ModalDriver::enqueue(Step step) {
    steps_.append(std::move(step));
}

void ModalDriver::windowDidBeginModal(Window* window) {
    titles_.append(window->title());
    Step step;
    if (!steps_.isEmpty()) {
        step = steps_.takeFirst();
    } else if (everyRun_) {
        step = everyRun_;
    }
    if (!step) {
        ++aborted_;
        std::fprintf(stderr,
                     "kit::ModalDriver - no step for the modal run of \"%s\"; aborting it\n",
                     qPrintable(window->title()));
        Application::abortModal();
        return;
    }
    step(window);
}

ModalDriver*& ModalDriver::installed() {
    static ModalDriver* driver = nullptr;
    return driver;
}

} // namespace kit
