#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <Qt>
#include <optional>

class QWidget;

namespace kit {

// Keys as a person presses them, for the scripted modes: each goes to the widget with the
// keyboard focus through the same steps as a key from the keyboard (the window's shortcuts
// first, then the focused widget, then its parents), so Tab moves the focus, Return presses a
// dialog's default button and Ctrl+S saves.
class KeyboardInput {
public:
    struct Key {
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };

    // The keys of script words: a key name as menus write it ("Tab", "Shift+Tab", "Return",
    // "Ctrl+S", "F2", "Delete", "Escape", "Space"), or a single character; any other word is
    // text, typed character by character ("Dana", "0207946001"), so text that is a key's name
    // ("Help") is that key. None for an empty word.
    static std::optional<QList<Key>> parse(const QStringList& words, QString* error);

    // The widget a key goes to now: an open popup (a menu), else the focus widget of the active
    // window (a modal dialog when one is open), else that window, else the fallback's window.
    static QWidget* receiver(QWidget* fallback);

    // Presses and releases the key on the receiver. A key that opens a modal window returns when
    // that window closes, as it does for a person.
    static void press(const Key& key, QWidget* fallback);
};

} // namespace kit
