// Every text the code looks up is in every string table of its bundle or program: a text missing
// from one table stays English on that language's screen.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral(VEXTEL_SOURCE_DIR);

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList filesUnder(const QString& folder, const QStringList& patterns) {
    QStringList files;
    QDirIterator it(kSource + QLatin1Char('/') + folder, patterns, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(it.next());
    }
    files.sort();
    return files;
}

// A table's finished messages, as "context|source" (context left empty when it does not count).
struct Table {
    QSet<QString> finished;
    QString error;
};

Table readTable(const QString& path, bool withContext) {
    Table table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        table.error = QStringLiteral("cannot read ") + path;
        return table;
    }
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    bool translated = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("message")) {
            source.clear();
            translated = false;
        } else if (xml.isStartElement() && xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
            const bool unfinished =
                xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            translated = !unfinished && !text.trimmed().isEmpty();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message") && translated) {
            table.finished.insert((withContext ? context : QString()) + QLatin1Char('|') + source);
        }
    }
    if (xml.hasError()) {
        table.error = path + QStringLiteral(": ") + xml.errorString();
    }
    return table;
}

// ---- What the plug-in looks up: layout texts, column titles and the code's marked texts

// Properties of a Designer file whose texts the plug-in's views localize.
const QSet<QString> kLocalizedProperties = {
    "text", "title", "windowTitle", "placeholderText", "toolTip", "accessibleName"};

void addUiTexts(const QString& path, QSet<QString>& keys) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    bool localized = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("property") || xml.name() == QLatin1String("attribute")) {
            localized = kLocalizedProperties.contains(xml.attributes().value("name").toString());
        } else if (xml.name() == QLatin1String("string") && localized &&
                   xml.attributes().value("notr") != QLatin1String("true")) {
            const QString text = xml.readElementText();
            if (!text.isEmpty()) {
                keys.insert(text);
            }
        }
    }
    ASSERT_FALSE(xml.hasError()) << path.toStdString();
}

void addColumnTitles(const QJsonValue& value, QSet<QString>& keys) {
    if (value.isArray()) {
        for (const QJsonValue& item : value.toArray()) {
            addColumnTitles(item, keys);
        }
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it.key() == QLatin1String("columns")) {
                for (const QJsonValue& column : it.value().toArray()) {
                    keys.insert(column.toObject().value("title").toString());
                }
            } else {
                addColumnTitles(it.value(), keys);
            }
        }
    }
}

// TKDRV_TEXT("...") in the code, adjacent literals joined as the compiler joins them.
void addMarkedTexts(const QString& path, QSet<QString>& keys) {
    static const QRegularExpression marked(
        QStringLiteral(R"re(TKDRV_TEXT\(((?:\s*"(?:[^"\\]|\\.)*")+)\s*\))re"));
    static const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
    for (const auto& match : marked.globalMatch(readAll(path))) {
        QString text;
        for (const auto& piece : literal.globalMatch(match.captured(1))) {
            text += piece.captured(1);
        }
        text.replace(QLatin1String("\\\""), QLatin1String("\"")).replace("\\\\", "\\");
        keys.insert(text);
    }
}

QSet<QString> pluginKeys() {
    QSet<QString> keys;
    for (const QString& path : filesUnder("resources/VextelPDE/Resources", {"*.ui"})) {
        addUiTexts(path, keys);
    }
    for (const QString& path : filesUnder("resources/VextelPDE/Resources", {"*.layout"})) {
        addColumnTitles(QJsonDocument::fromJson(readAll(path).toUtf8()).object(), keys);
    }
    for (const QString& path :
         filesUnder("src/vextelpde", {"*.cpp"}) + filesUnder("src/common", {"*.cpp"})) {
        addMarkedTexts(path, keys);
    }
    keys.remove(QString());
    return keys;
}

// The keys the table lacks, one a line ("" when it has them all).
std::string missingFrom(const Table& table, const QSet<QString>& keys) {
    QStringList missing;
    for (const QString& key : keys) {
        if (!table.finished.contains(key)) {
            missing.append(key);
        }
    }
    missing.sort();
    return missing.join(QLatin1Char('\n')).toStdString();
}

TEST(StringTablesTest, EveryTextThePlugInLooksUpIsInTheDefaultTableOfEveryLanguage) {
    const QSet<QString> wanted = pluginKeys();
    // The texts that were missing once, so the collection itself cannot quietly lose them.
    for (const char* text : {"Address Book Editor not found.", "Search", "Group", "OK"}) {
        EXPECT_TRUE(wanted.contains(QLatin1String(text))) << text;
    }
    QSet<QString> keys;
    for (const QString& key : wanted) {
        keys.insert(QLatin1Char('|') + key);
    }
    const QStringList tables = filesUnder("resources/VextelPDE/Resources", {"Localizable.ts"});
    ASSERT_EQ(tables.size(), 3) << tables.join(", ").toStdString();
    for (const QString& path : tables) {
        const Table table = readTable(path, false);
        ASSERT_TRUE(table.error.isEmpty()) << table.error.toStdString();
        EXPECT_EQ(missingFrom(table, keys), "") << path.toStdString();
    }
}

TEST(StringTablesTest, APrinterSpecificTableHoldsTheSameTextsInEveryLanguage) {
    const QStringList tables = filesUnder("resources/VextelPDE/Resources", {"Localizable3.ts"});
    ASSERT_FALSE(tables.isEmpty());
    const Table first = readTable(tables.first(), false);
    for (const QString& path : tables) {
        const Table table = readTable(path, false);
        EXPECT_EQ(missingFrom(table, first.finished), "") << path.toStdString();
        EXPECT_EQ(missingFrom(first, table.finished), "") << path.toStdString();
    }
}

// ---- Programs: what Qt's own extraction (lupdate) finds in their code and windows

TEST(StringTablesTest, EveryTextAProgramTranslatesIsInEachOfItsTables) {
    const struct {
        const char* program;
        QStringList sources; // folders and files, from the source folder
        const char* tables;
        int languages;
    } rows[] = {
        {"vextel-addressbook",
         {"apps/vextel-addressbook"},
         "resources/vextel-addressbook/translations",
         3},
        {"vextel-print",
         {"apps/vextel-print", "resources/vextel-print/PrintDialog.ui"},
         "resources/vextel-print/translations",
         3},
    };
    for (const auto& row : rows) {
        QTemporaryDir temp;
        ASSERT_TRUE(temp.isValid());
        const QString extracted = temp.filePath("extracted.ts");
        QStringList arguments{"-silent", "-no-obsolete", "-locations", "none"};
        for (const QString& source : row.sources) {
            arguments.append(kSource + QLatin1Char('/') + source);
        }
        arguments << "-ts" << extracted;
        QProcess lupdate;
        lupdate.start(QStringLiteral(VEXTEL_LUPDATE), arguments);
        ASSERT_TRUE(lupdate.waitForFinished(120000)) << row.program;
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
        // Every message of the extraction, finished or not, is a text the code translates.
        QSet<QString> wanted;
        {
            QFile file(extracted);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            QXmlStreamReader xml(&file);
            QString context;
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement() && xml.name() == QLatin1String("name")) {
                    context = xml.readElementText();
                } else if (xml.isStartElement() && xml.name() == QLatin1String("source")) {
                    wanted.insert(context + QLatin1Char('|') + xml.readElementText());
                }
            }
        }
        EXPECT_GT(wanted.size(), 20) << row.program;
        const QStringList tables = filesUnder(QLatin1String(row.tables), {"*.ts"});
        EXPECT_EQ(tables.size(), row.languages) << row.program;
        for (const QString& path : tables) {
            const Table table = readTable(path, true);
            ASSERT_TRUE(table.error.isEmpty()) << table.error.toStdString();
            EXPECT_EQ(missingFrom(table, wanted), "") << path.toStdString();
        }
    }
}

// ---- Desktop entries: what the menus and the file manager show

TEST(StringTablesTest, EveryDesktopEntryNamesAndDescribesItselfInEachLanguage) {
    const QStringList entries = filesUnder("resources/desktop", {"*.desktop"}) +
                                filesUnder("apps/vextel-addressbook", {"*.desktop.in"});
    ASSERT_EQ(entries.size(), 5); // three programs and the two Send To menus
    for (const QString& path : entries) {
        const QStringList lines = readAll(path).split(QLatin1Char('\n'));
        for (const char* key : {"Name", "GenericName", "Comment"}) {
            for (const char* language : {"", "[de]", "[ja]"}) {
                const QString prefix = QLatin1String(key) + QLatin1String(language) + '=';
                const bool present = std::any_of(lines.begin(), lines.end(), [&](const QString& l) {
                    return l.startsWith(prefix) && l.size() > prefix.size();
                });
                EXPECT_TRUE(present) << path.toStdString() << ": " << prefix.toStdString();
            }
        }
    }
}

// ---- Man pages: the NAME line that whatis and apropos list

TEST(StringTablesTest, EveryManPageNamesItselfInEachLanguage) {
    const QStringList pages = filesUnder("docs/man", {"*.1", "*.8"});
    ASSERT_EQ(pages.size(), 5);
    for (const char* language : {"de", "ja"}) {
        const QString table = QStringLiteral("docs/man/%1.names").arg(QLatin1String(language));
        QHash<QString, QString> lines;
        for (const QString& row : readAll(kSource + QLatin1Char('/') + table).split('\n')) {
            if (!row.isEmpty() && !row.startsWith(QLatin1Char('#'))) {
                lines.insert(row.section(QLatin1Char('\t'), 0, 0),
                             row.section(QLatin1Char('\t'), 1));
            }
        }
        EXPECT_EQ(lines.size(), pages.size()) << table.toStdString() << ": a row per page";
        for (const QString& path : pages) {
            const QString page = QFileInfo(path).fileName();
            // The command's name stays as it is: whatis finds the page by it.
            const QString prefix = QFileInfo(path).completeBaseName() + QStringLiteral(" \\- ");
            const QString line = lines.value(page);
            EXPECT_TRUE(line.startsWith(prefix) && line.size() > prefix.size() + 4)
                << table.toStdString() << ": " << page.toStdString() << ": " << line.toStdString();
        }
    }
}

} // namespace
