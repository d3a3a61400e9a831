#include "kit/ScriptWords.h"

namespace kit {

std::optional<QStringList> splitScriptWords(const QString& line, HashSign hash) {
    QStringList words;
    QString word;
    bool inWord = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (inQuotes && c == QLatin1Char('\\') && i + 1 < line.size()) {
            word += line.at(++i);
        } else if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
            inWord = true;
        } else if (!inQuotes && !inWord && c == QLatin1Char('#') &&
                   hash == HashSign::StartsComment) {
            break;
        } else if (!inQuotes && c.isSpace()) {
            if (inWord) {
                words.append(word);
            }
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inQuotes) {
        return std::nullopt;
    }
    if (inWord) {
        words.append(word);
    }
    return words;
}

} // namespace kit
