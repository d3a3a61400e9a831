#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kit {

// What a "#" at the start of a word means to a script language.
enum class HashSign { Literal, StartsComment };

// The words of one line of a script written for the programs' scripted modes: words separated by
// blanks; double quotes keep blanks inside a word and may enclose an empty one, and within them
// a backslash takes the next character literally. Null when a quote is left open.
std::optional<QStringList> splitScriptWords(const QString& line, HashSign hash = HashSign::Literal);

} // namespace kit
