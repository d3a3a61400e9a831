// The kit's sample window: loads the sample layout and shows the window, or with
// `--screenshot FILE` (and always when there is no display) writes a PNG of it and exits.
#include "SampleController.h"
#include "SampleOwner.h"
#include "kit/Application.h"
#include "kit/ArrayController.h"
#include "kit/ClassRegistry.h"
#include "kit/Layout.h"
#include "kit/Panel.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStringList>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool hasDisplay() {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display != nullptr && *display != '\0') || (wayland != nullptr && *wayland != '\0');
}

// Chosen before the application exists: without a display the xcb platform would abort.
bool chooseOffscreenWhenThereIsNoDisplay() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && !hasDisplay()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return true;
    }
    return false;
}

QString screenshotPathFrom(int argc, char** argv) {
    for (int index = 1; index + 1 < argc; ++index) {
        if (std::strcmp(argv[index], "--screenshot") == 0) {
            return QString::fromLocal8Bit(argv[index + 1]);
        }
    }
    return {};
}

// Installed beside the program (share/kit-sample), else the source tree's copy.
QString sampleLayoutPath() {
    const QString installed =
        QDir(QCoreApplication::applicationDirPath()).filePath("../share/kit-sample/Sample.layout");
    if (QFileInfo::exists(installed)) {
        return QDir::cleanPath(installed);
    }
    return QStringLiteral(KIT_SAMPLE_SOURCE_RESOURCES "/Sample.layout");
}

void fillWithSampleRecipients(kit_sample::SampleController* controller) {
    controller->addRecipient("Ann Archer", "5550101");
    controller->addRecipient("bob Baker", "5550102");
    controller->addRecipient("Carla Cruz", "5550103");
}

bool writeScreenshot(kit::Window* window, const QString& path) {
    QWidget* widget = window->widget();
    widget->show();
    QApplication::processEvents();
    const QImage image = widget->grab().toImage();
    widget->hide();
    if (image.isNull() || !image.save(path, "PNG")) {
        std::fprintf(stderr, "kit-sample: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool offscreen = chooseOffscreenWhenThereIsNoDisplay();
    QString screenshotPath = screenshotPathFrom(argc, argv);
    if (screenshotPath.isEmpty() && offscreen) {
        screenshotPath = QStringLiteral("kit-sample.png");
    }
    QApplication app(argc, argv);

    kit::ClassRegistry::registerObjectClass<kit_sample::SampleController>("SampleController");
    kit_sample::SampleOwner owner;
    QList<kit::ObjectRef> topLevelObjects;
    const QString layoutPath = sampleLayoutPath();
    if (!kit::Layout::loadFile(layoutPath, &owner, &topLevelObjects) || owner.window() == nullptr ||
        owner.controller() == nullptr) {
        std::fprintf(stderr, "kit-sample: cannot load %s (see the system log)\n",
                     qPrintable(layoutPath));
        return 1;
    }
    fillWithSampleRecipients(owner.controller());

    if (!screenshotPath.isEmpty()) {
        if (!writeScreenshot(owner.window(), screenshotPath)) {
            return 1;
        }
        std::printf("kit-sample: wrote %s\n", qPrintable(screenshotPath));
        return 0;
    }
    // Start and Stop end the run; so does closing the window.
    kit::Application::runModal(owner.window());
    return 0;
}
