#include "kit/AccessibilityAudit.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QMap>
#include <QMetaEnum>
#include <QWidget>
#include <functional>

namespace kit {

namespace {

// The roles of controls a person works with or reads data from; labels, panes, scroll bars and
// headers are not among them (a header's sections are named by their titles anyway).
const QAccessible::Role kInteractiveRoles[] = {
    QAccessible::EditableText, QAccessible::ComboBox,       QAccessible::Table,
    QAccessible::List,         QAccessible::Tree,           QAccessible::CheckBox,
    QAccessible::RadioButton,  QAccessible::PushButton,     QAccessible::SpinBox,
    QAccessible::Slider,       QAccessible::ProgressBar,    QAccessible::PageTab,
    QAccessible::ButtonMenu,   QAccessible::ButtonDropDown,
};

bool isInteractive(QAccessible::Role role) {
    return std::find(std::begin(kInteractiveRoles), std::end(kInteractiveRoles), role) !=
           std::end(kInteractiveRoles);
}

QString roleName(QAccessible::Role role) {
    const QMetaEnum roles = QMetaEnum::fromType<QAccessible::Role>();
    const char* name = roles.valueToKey(role);
    return name != nullptr ? QString::fromLatin1(name) : QString::number(role);
}

struct Control {
    QAccessible::Role role;
    QString objectName;
    QString name;
};

QString objectNameOf(QAccessibleInterface* node) {
    QObject* object = node->object();
    return object != nullptr && !object->objectName().isEmpty()
               ? object->objectName()
               : QStringLiteral("(no object name)");
}

// The name a screen reader gives the control: its accessible name, else its label's text (the
// "labelled by" relation a label buddy makes), else the text Qt names it by. A combo box on
// Linux is named by its chosen item, which is its value, not its name.
QString nameOf(QAccessibleInterface* node) {
    if (const auto* widget = qobject_cast<const QWidget*>(node->object());
        widget != nullptr && !widget->accessibleName().trimmed().isEmpty()) {
        return widget->accessibleName().trimmed();
    }
    for (const auto& [label, relation] : node->relations(QAccessible::Label)) {
        const QString text =
            label != nullptr ? label->text(QAccessible::Name).trimmed() : QString();
        if (!text.isEmpty()) {
            return text;
        }
    }
    return node->role() == QAccessible::ComboBox ? QString()
                                                 : node->text(QAccessible::Name).trimmed();
}

// Tables and lists are read as one control: their cells carry the data's own texts.
bool readsAsOne(QAccessible::Role role) {
    return role == QAccessible::Table || role == QAccessible::List || role == QAccessible::Tree;
}

void collect(QAccessibleInterface* node, QList<Control>& out) {
    if (node == nullptr || !node->isValid() || node->state().invisible) {
        return;
    }
    const QAccessible::Role role = node->role();
    if (isInteractive(role)) {
        out.append({role, objectNameOf(node), nameOf(node)});
    }
    if (readsAsOne(role)) {
        return;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        collect(node->child(i), out);
    }
}

QList<Control> controlsOf(QWidget* window) {
    QList<Control> controls;
    if (window != nullptr) {
        collect(QAccessible::queryAccessibleInterface(window), controls);
    }
    return controls;
}

} // namespace

QStringList AccessibilityAudit::problems(QWidget* window) {
    QStringList lines;
    QMap<QString, QStringList> byName;
    for (const Control& control : controlsOf(window)) {
        if (control.name.isEmpty()) {
            lines.append(
                QStringLiteral("unnamed %1 %2").arg(roleName(control.role), control.objectName));
        } else {
            byName[control.name].append(control.objectName);
        }
    }
    for (auto it = byName.cbegin(); it != byName.cend(); ++it) {
        if (it.value().size() > 1) {
            lines.append(QStringLiteral("duplicate name \"%1\": %2")
                             .arg(it.key(), it.value().join(QStringLiteral(", "))));
        }
    }
    return lines;
}

QStringList AccessibilityAudit::controls(QWidget* window) {
    QStringList lines;
    for (const Control& control : controlsOf(window)) {
        lines.append(QStringLiteral("%1 %2: %3")
                         .arg(roleName(control.role), control.objectName, control.name));
    }
    return lines;
}

} // namespace kit
