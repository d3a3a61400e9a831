#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace kit {

// Walks a window's accessibility tree as a screen reader sees it (Qt's QAccessible interfaces,
// which the AT-SPI bridge serves on Linux) and names what a person who cannot see the window
// would miss: a control that takes input or shows data with no accessible name, and two such
// controls sharing one name. Only what is shown counts (a hidden tab's page is not read out).
class AccessibilityAudit {
public:
    // One line per problem: "unnamed <role> <object name>" or "duplicate name "<name>": <object
    // names>"; empty when every shown control has a name of its own.
    static QStringList problems(QWidget* window);

    // Every shown control of the window that takes input or shows data, as "<role> <object
    // name>: <accessible name>", in tree order (for a failure message).
    static QStringList controls(QWidget* window);
};

} // namespace kit
