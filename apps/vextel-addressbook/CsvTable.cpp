#include "CsvTable.h"

#include <QStringDecoder>

namespace vextel_addressbook {

QString CsvTable::decode(const QByteArray& bytes) {
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) {
        body.remove(0, 3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError()) {
        return text;
    }
    return QString::fromLatin1(body);
}

QChar CsvTable::detectSeparator(const QString& text) {
    int counts[3] = {0, 0, 0};
    const QChar candidates[3] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r'))) {
            break;
        } else if (!quoted) {
            for (int i = 0; i < 3; ++i) {
                counts[i] += c == candidates[i] ? 1 : 0;
            }
        }
    }
    int best = 0;
    for (int i = 1; i < 3; ++i) {
        if (counts[i] > counts[best]) {
            best = i;
        }
    }
    return candidates[best];
}

QList<QStringList> CsvTable::parse(const QString& text) {
    const QChar separator = detectSeparator(text);
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool rowHasContent = false;
    auto endField = [&] {
        row.append(field);
        field.clear();
    };
    auto endRow = [&] {
        endField();
        if (rowHasContent || row.size() > 1 || !row.first().isEmpty()) {
            rows.append(row);
        }
        row.clear();
        rowHasContent = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field.append(c);
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field.append(c);
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            rowHasContent = true;
        } else if (c == separator) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('\n')) {
                ++i;
            }
            endRow();
        } else {
            field.append(c);
        }
    }
    if (!field.isEmpty() || !row.isEmpty() || rowHasContent) {
        endRow();
    }
    return rows;
}

QByteArray CsvTable::write(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& field : row) {
            if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')) ||
                field.contains(QLatin1Char(';')) || field.contains(QLatin1Char('\t'))) {
                QString escaped = field;
                escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
                fields.append(QLatin1Char('"') + escaped + QLatin1Char('"'));
            } else {
                fields.append(field);
            }
        }
        text += fields.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    return text.toUtf8();
}

} // namespace vextel_addressbook
