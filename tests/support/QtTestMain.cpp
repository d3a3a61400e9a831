// Entry point of every test binary that needs a QApplication.
//
// Test discovery runs the binaries at build time without the CTest environment, so the
// offscreen platform is chosen here rather than through test properties.
#include <QApplication>
#include <QFontDatabase>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <gmock/gmock.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        // Qt wants a private runtime folder and warns in every test binary without one.
        const std::string folder = "/tmp/runtime-" + std::to_string(getuid());
        if (mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) {
            setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        }
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    // Without a font every glyph renders as a box and screenshot checks would still pass.
    if (QFontDatabase::families().isEmpty()) {
        std::fprintf(stderr, "No font found: install fonts-dejavu-core\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
