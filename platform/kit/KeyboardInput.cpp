#include "kit/KeyboardInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QWidget>

// Qt GUI's delivery of a key to the shortcut map before the focused widget sees it, as the
// platform's key events get it; exported by Qt GUI for its test library, declared there too.
Q_DECL_IMPORT bool qt_sendShortcutOverrideEvent(QObject* receiver, ulong timestamp, int key,
                                                Qt::KeyboardModifiers modifiers,
                                                const QString& text, bool autorepeat, ushort count);

namespace kit {

namespace {

// The text a key types: a printable character, or none (Tab, Return and the like type nothing
// into a field; their handling is the widget's).
QString typedText(int key, Qt::KeyboardModifiers modifiers) {
    if ((modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return {};
    }
    if (key == Qt::Key_Space) {
        return QStringLiteral(" ");
    }
    if (key >= Qt::Key_Exclam && key <= Qt::Key_AsciiTilde) {
        const QChar character(key);
        return (modifiers & Qt::ShiftModifier) != 0 ? QString(character.toUpper())
                                                    : QString(character.toLower());
    }
    return {};
}

KeyboardInput::Key characterKey(QChar character) {
    KeyboardInput::Key key;
    key.text = QString(character);
    const QChar upper = character.toUpper();
    // A character with no key of its own comes as text alone (key 0), as an input method sends it.
    key.key = upper.unicode() < 0x7f ? int(upper.unicode()) : 0;
    if (character.isUpper()) {
        key.modifiers = Qt::ShiftModifier;
    }
    return key;
}

// Names people write for keys whose menu names are short ("Delete" for "Del").
QString menuName(const QString& word) {
    static const std::pair<const char*, const char*> kAliases[] = {
        {"delete", "Del"},  {"escape", "Esc"},      {"insert", "Ins"},
        {"pageup", "PgUp"}, {"pagedown", "PgDown"}, {"control", "Ctrl"},
    };
    QStringList parts = word.split(QLatin1Char('+'));
    for (QString& part : parts) {
        for (const auto& [alias, name] : kAliases) {
            if (part.compare(QLatin1String(alias), Qt::CaseInsensitive) == 0) {
                part = QLatin1String(name);
            }
        }
    }
    return parts.join(QLatin1Char('+'));
}

// A word that names one key chord as menus write it ("Ctrl+S", "Return", "Delete").
std::optional<KeyboardInput::Key> namedKey(const QString& word) {
    const QKeySequence sequence =
        QKeySequence::fromString(menuName(word), QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown || sequence[0].key() == 0) {
        return std::nullopt;
    }
    KeyboardInput::Key key;
    key.key = sequence[0].key();
    key.modifiers = sequence[0].keyboardModifiers();
    // Shift+Tab arrives from the keyboard as Backtab.
    if (key.key == Qt::Key_Tab && (key.modifiers & Qt::ShiftModifier) != 0) {
        key.key = Qt::Key_Backtab;
    }
    key.text = typedText(key.key, key.modifiers);
    return key;
}

} // namespace

std::optional<QList<KeyboardInput::Key>> KeyboardInput::parse(const QStringList& words,
                                                              QString* error) {
    QList<Key> keys;
    for (const QString& word : words) {
        if (word.isEmpty()) {
            *error = QStringLiteral("an empty word is no key");
            return std::nullopt;
        }
        if (word.size() == 1) {
            keys.append(characterKey(word.front()));
        } else if (const auto key = namedKey(word)) {
            keys.append(*key);
        } else {
            for (const QChar character : word) {
                keys.append(characterKey(character));
            }
        }
    }
    return keys;
}

QWidget* KeyboardInput::receiver(QWidget* fallback) {
    // An open menu or popup list takes the keys, as it holds the keyboard.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        return popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
    }
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr) {
        window = QApplication::activeWindow();
    }
    if (window == nullptr) {
        window = fallback != nullptr ? fallback->window() : nullptr;
    }
    if (window == nullptr) {
        return nullptr;
    }
    if (!window->isActiveWindow()) {
        // The platform answers an activation as an event: let it arrive, so the window's
        // first control takes the focus as it does for a person.
        window->activateWindow();
        QCoreApplication::processEvents();
    }
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || focus->window() != window) {
        // The window came up without giving the keyboard to a control (an offscreen platform
        // does not always): its remembered control takes it, else its first one, as when a
        // person clicks into the window.
        focus = window->focusWidget();
        for (QWidget* next = window->nextInFocusChain(); focus == nullptr && next != window;
             next = next->nextInFocusChain()) {
            if ((next->focusPolicy() & Qt::TabFocus) != 0 && next->isEnabled() &&
                next->isVisibleTo(window)) {
                focus = next;
            }
        }
        if (focus != nullptr) {
            focus->setFocus(Qt::ActiveWindowFocusReason);
        }
    }
    return focus != nullptr && focus->isVisible() ? focus : window;
}

void KeyboardInput::press(const Key& key, QWidget* fallback) {
    QPointer<QWidget> target = receiver(fallback);
    if (target == nullptr) {
        return;
    }
    if (qt_sendShortcutOverrideEvent(target, 0, key.key, key.modifiers, key.text, false, 1)) {
        return;
    }
    QKeyEvent press(QEvent::KeyPress, key.key, key.modifiers, key.text);
    QApplication::sendEvent(target, &press);
    // The press may have moved the focus or closed the window: the release goes where the
    // focus is now, as the keyboard's would.
    QPointer<QWidget> releaseTarget = receiver(fallback);
    if (releaseTarget != nullptr) {
        QKeyEvent release(QEvent::KeyRelease, key.key, key.modifiers, key.text);
        QApplication::sendEvent(releaseTarget, &release);
    }
}

} // namespace kit
