// A phone's contacts export imported into a book by the built editor, driven by a script as a
// person would: the preview shows how each fax number is made dialable, and the book written
// keeps every other line of each card.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kEditor = QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-addressbook");
const QString kPhoneExport =
    QStringLiteral(VEXTEL_SOURCE_DIR "/tests/fixtures/import/phone-export.vcf");

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The content lines of each card, unfolded.
QList<QStringList> cardsOf(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1String("\n "), "");
    QList<QStringList> cards;
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
        if (line == QLatin1String("BEGIN:VCARD")) {
            cards.append(QStringList());
        } else if (!cards.isEmpty() && line != QLatin1String("END:VCARD")) {
            cards.last().append(line);
        }
    }
    return cards;
}

TEST(EditorPhoneImportTest, APhonesExportComesInDialableWithEveryOtherLineOfItsCards) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    ASSERT_TRUE(QDir().mkpath(temp.filePath("books")));
    ASSERT_TRUE(QDir().mkpath(temp.filePath("runtime")));
    QFile::setPermissions(temp.filePath("runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile script(temp.filePath("import.script"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("new-book Phone\n"
                 "select Phone\n"
                 "import \"" +
                 kPhoneExport.toUtf8() +
                 "\"\n"
                 "# In the preview: another international prefix, then OK.\n"
                 "key End Backspace Backspace 011 Return\n"
                 "show entries\n"
                 "save\n"
                 "quit\n");
    script.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", temp.path());
    environment.insert("XDG_CONFIG_HOME", temp.filePath("config"));
    environment.insert("XDG_DATA_HOME", temp.filePath("data"));
    environment.insert("XDG_RUNTIME_DIR", temp.filePath("runtime"));
    environment.insert("VEXTEL_ADDRESS_BOOK_DIR", temp.filePath("books"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess editor;
    editor.setProcessEnvironment(environment);
    editor.start(kEditor, {"--script", script.fileName()});
    ASSERT_TRUE(editor.waitForFinished(60000));
    const QString output = QString::fromUtf8(editor.readAllStandardOutput());
    ASSERT_EQ(editor.exitCode(), 0)
        << editor.readAllStandardError().toStdString() << output.toStdString();

    // The refused number (" ext. ") left its entry out; the card without a fax is no entry.
    EXPECT_EQ(output.toStdString(),
              "Name | Fax number | Company | Note\n"
              "1 Dana Whitfield | 011442079460001, 0301234-567 |  | \n"
              "2 Jürgen Müller | 02079460002 | Müller & Söhne GmbH | Faxes after 18:00 go to the "
              "night desk. / Call first on Fridays.\n");
    EXPECT_TRUE(readText(temp.filePath("config/vextel/vextel-addressbook.conf"))
                    .contains("internationalPrefix=011"))
        << "the prefix is kept for the next import";

    const QList<QStringList> source = cardsOf(readText(kPhoneExport));
    const QList<QStringList> written = cardsOf(readText(temp.filePath("books/Phone.vcf")));
    ASSERT_EQ(source.size(), 4);
    ASSERT_EQ(written.size(), 2);
    const std::pair<int, QStringList> faxLines[] = {
        {0, {"TEL;TYPE=WORK,FAX:02079460002"}},
        {1, {"TEL;TYPE=WORK,FAX:011442079460001", "TEL;TYPE=HOME,FAX:0301234-567"}},
    };
    for (const auto& [index, faxes] : faxLines) {
        QStringList expected = faxes;
        for (const QString& line : source.at(index)) {
            if (!(line.startsWith("TEL;") && line.contains("FAX"))) {
                expected.append(line);
            }
        }
        QStringList got = written.at(index);
        got.removeIf([](const QString& line) { return line.startsWith("UID:"); });
        expected.sort();
        got.sort();
        EXPECT_EQ(got, expected) << "card " << index;
    }
}

} // namespace
