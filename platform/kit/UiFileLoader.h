#pragma once

#include <QString>

class QWidget;

namespace kit {

// Builds the widget tree of a Designer .ui file. One loader serves the whole process, and it
// loads no Designer plug-ins: the layouts use only the widgets Qt builds itself, and the
// installed plug-ins (a Qt Quick widget, say) would bring whole frameworks into every process
// that shows a panel.
class UiFileLoader {
public:
    // The tree, with no parent; null with a one-line reason in *error (when given) if the file
    // cannot be read or built. Relative resources in the file are found beside it.
    static QWidget* load(const QString& path, QString* error = nullptr);

    // The folders the shared loader takes Designer plug-ins from: always empty.
    static QStringList pluginPaths();
};

} // namespace kit
