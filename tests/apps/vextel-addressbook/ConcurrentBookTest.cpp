#include "BookDocument.h"
#include "BookTestSupport.h"
#include "EditorState.h"
#include "FakeServices.h"
#include "MainWindow.h"
#include "PickerRows.h"
#include "RecordText.h"
#include "VCardBookStore.h"
#include "support/EnvironmentScope.h"
#include "xdirkit/XdirKit.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <random>

namespace {

using namespace vextel_addressbook;

constexpr int kRunForMilliseconds = 20000;
constexpr int kLibraryWriterCount = 2;

// What an editor process reported: the state of its entries at its last save reported as done,
// and the state of a save it began and did not see end (killed meanwhile).
struct EditorReport {
    QString prefix;
    QString saved;
    std::optional<QString> pending;
    // Names it removed in a save, and those of them a later save of its own found back.
    QSet<QString> removed;
    QSet<QString> cameBack;
};

QSet<QString> namesOf(const QString& state) {
    QSet<QString> names;
    for (const QString& entry : state.split(';', Qt::SkipEmptyParts)) {
        names.insert(entry.section('|', 0, 0));
    }
    return names;
}

// A writer process: a library writer (book-adder-probe, "stored NAME" for each add) or an editor
// (book-editor-probe, "saving STATE" then "saved" or "failed REASON" for each save).
class Writer {
public:
    Writer(const char* program, const QString& book, const QString& prefix, unsigned seed)
        : editor_(QLatin1String(program) == QLatin1String("book-editor-probe")) {
        report_.prefix = prefix;
        process_.setProgram(QStringLiteral(VEXTEL_BINARY_DIR "/bin/") + QLatin1String(program));
        process_.setArguments({book, prefix, QString::number(seed)});
        process_.start();
        process_.waitForStarted();
    }
    ~Writer() { stop(); }
    bool isEditor() const { return editor_; }
    const EditorReport& report() const { return report_; }
    void collect(QStringList& stored) {
        buffer_ += process_.readAllStandardOutput();
        // Only whole lines: a writer killed while printing reported nothing.
        const qsizetype end = buffer_.lastIndexOf('\n');
        if (end < 0) {
            return;
        }
        for (const QByteArray& line : buffer_.left(end).split('\n')) {
            if (line.startsWith("stored ")) {
                stored.append(QString::fromUtf8(line.mid(7)));
            } else if (line.startsWith("saving ")) {
                report_.pending = QString::fromUtf8(line.mid(7));
            } else if (line == "saved" && report_.pending) {
                // Its names are its own and never used again: one gone from a save was removed
                // by it, and back in a later one was brought back by another writer's merge.
                const QSet<QString> before = namesOf(report_.saved);
                const QSet<QString> after = namesOf(*report_.pending);
                for (const QString& name : after) {
                    if (report_.removed.contains(name)) {
                        report_.cameBack.insert(name);
                    }
                }
                report_.removed.unite(QSet<QString>(before).subtract(after));
                report_.saved = *report_.pending;
                report_.pending.reset();
            } else if (line.startsWith("failed")) {
                report_.pending.reset();
            }
        }
        buffer_.remove(0, end + 1);
    }
    // Killed at whatever it is doing, then reaped.
    void kill(QStringList& stored) {
        stop();
        collect(stored);
    }

private:
    void stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(10000);
        }
    }
    bool editor_;
    QProcess process_;
    QByteArray buffer_;
    EditorReport report_;
};

// The editor's own entries ("e" names) as "name fax,fax note", sorted.
QStringList editorEntries(const BookContents& book) {
    QStringList entries;
    for (const Contact& contact : book.contacts) {
        if (contact.name.startsWith('e')) {
            entries.append(contact.name + ' ' + contact.faxNumbers().join(',') + ' ' +
                           contact.note);
        }
    }
    entries.sort();
    return entries;
}

// The entries of book named in names, as "name name ...".
QString namesAmong(const BookContents& book, const QStringList& names) {
    QStringList found;
    for (const Contact& contact : book.contacts) {
        if (names.contains(contact.name)) {
            found.append(contact.name);
        }
    }
    return found.join(' ');
}

// "name fax" for every fax line of every card, as Debian's python3-vobject reads the book;
// "invalid ..." lines for what the card's version does not allow.
QStringList independentRows(const QString& path) {
    QProcess parser;
    parser.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(VEXTEL_SOURCE_DIR "/tests/apps/vextel-addressbook/read_vcards.py"), path});
    EXPECT_TRUE(parser.waitForFinished(60000) && parser.exitCode() == 0)
        << parser.readAllStandardError().toStdString();
    QStringList rows;
    QString name;
    QStringList faxes;
    auto endCard = [&] {
        for (const QString& fax : faxes) {
            rows.append(name + ' ' + fax);
        }
        name.clear();
        faxes.clear();
    };
    for (const QString& line : QString::fromUtf8(parser.readAllStandardOutput()).split('\n')) {
        if (line.startsWith("card ")) {
            endCard();
        } else if (line.startsWith("FN ")) {
            name = line.mid(3);
        } else if (line.startsWith("TEL ") &&
                   line.section(':', 0, 0).mid(4).split(',').contains("FAX")) {
            faxes.append(line.section(':', 1));
        } else if (line.startsWith("invalid")) {
            rows.append(line);
        }
    }
    endCard();
    rows.sort();
    return rows;
}

// The editor's window, two library writers and an editor process change one book for a while:
// the window adds, edits (notes, further fax numbers), removes and saves its own entries, taking
// in the others' changes as they come; the library writers add entries; the editor process edits
// and saves its own through the editor's document and store; the processes are killed at random
// instants and started again. Every change any of them reported as stored is in the book at the
// end, and the book reads the same in the library, the editor and an independent parser.
TEST(ConcurrentBookTest, EveryChangeReportedAsStoredByTheEditorOrALibraryWriterIsInTheBook) {
    QTemporaryDir folder;
    QTemporaryDir home;
    ASSERT_TRUE(folder.isValid() && home.isValid());
    vextel_test::EnvironmentScope books("VEXTEL_ADDRESS_BOOK_DIR",
                                        QFile::encodeName(folder.path()));
    vextel_test::EnvironmentScope homeScope("HOME", QFile::encodeName(home.path()));
    vextel_test::EnvironmentScope dataScope("XDG_DATA_HOME",
                                            QFile::encodeName(home.filePath("data")));
    const QString path = folder.filePath("Shared.vcf");
    VCardBookStore store;
    QString error;
    ASSERT_TRUE(store.write(path, test::book({"start 0100"}), &error)) << error.toStdString();

    test::FakePrinter printer;
    MainWindow window(store, printer);
    QStringList notices;
    window.setNotice([&notices](const QString& text) { notices.append(text); });
    window.setQuestion(
        [](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Cancel; });
    ASSERT_TRUE(window.selectBook(path));
    BookDocument* doc = window.document(path);
    ASSERT_NE(doc, nullptr);

    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    auto chance = [&random](int percent) {
        return std::uniform_int_distribution<int>(0, 99)(random) < percent;
    };
    QStringList stored;
    std::vector<EditorReport> editorReports;
    std::vector<std::unique_ptr<Writer>> writers;
    int started = 0;
    auto startWriter = [&](bool editor) {
        ++started;
        return std::make_unique<Writer>(
            editor ? "book-editor-probe" : "book-adder-probe", path,
            QStringLiteral("%1%2-").arg(editor ? 'p' : 'w').arg(started), random());
    };
    auto endWriter = [&](std::unique_ptr<Writer>& writer) {
        writer->kill(stored);
        if (writer->isEditor()) {
            editorReports.push_back(writer->report());
        }
    };
    for (int i = 0; i < kLibraryWriterCount; ++i) {
        writers.push_back(startWriter(false));
    }
    writers.push_back(startWriter(true));

    QStringList windowRemoved;
    int added = 0;
    int saves = 0;
    int kills = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kRunForMilliseconds) {
        const QList<Contact>& contacts = doc->contents().contacts;
        QList<qsizetype> own;
        for (qsizetype row = 0; row < contacts.size(); ++row) {
            if (contacts[row].name.startsWith('e')) {
                own.append(row);
            }
        }
        const int action = std::uniform_int_distribution<int>(0, 9)(random);
        if (action <= 3 || own.isEmpty()) {
            EXPECT_TRUE(doc->addContact(
                Contact{{}, QStringLiteral("e%1").arg(++added), "0402", {}, {}, -1}, &error))
                << error.toStdString();
        } else if (action <= 5) {
            const qsizetype row =
                own[std::uniform_int_distribution<qsizetype>(0, own.size() - 1)(random)];
            Contact edited = contacts[row];
            edited.note = QStringLiteral("note %1").arg(random() % 1000);
            if (chance(50)) {
                edited.otherFaxes = {QStringLiteral("05%1").arg(random() % 1000)};
            }
            EXPECT_TRUE(doc->editContact(row, edited, &error)) << error.toStdString();
        } else if (action == 6) {
            const qsizetype row =
                own[std::uniform_int_distribution<qsizetype>(0, own.size() - 1)(random)];
            windowRemoved.append(contacts[row].name);
            doc->removeContacts({row});
        } else if (action <= 8) {
            ++saves;
            if (window.saveCurrentBook()) {
                // What the save reported as stored is in the file as it left it (the writers
                // touch no entry of the editor's).
                const auto onDisk = store.read(path, &error);
                ASSERT_TRUE(onDisk) << error.toStdString();
                EXPECT_EQ(editorEntries(*onDisk), editorEntries(doc->contents()))
                    << "after save " << saves;
                EXPECT_EQ(namesAmong(*onDisk, windowRemoved), "") << "after save " << saves;
            }
        } else if (chance(40)) {
            auto& writer = writers[random() % writers.size()];
            endWriter(writer);
            writer = startWriter(writer->isEditor());
            ++kills;
        }
        QDeadlineTimer pause(std::uniform_int_distribution<int>(0, 120)(random));
        while (!pause.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        for (auto& writer : writers) {
            writer->collect(stored);
        }
    }
    for (auto& writer : writers) {
        endWriter(writer);
    }
    ASSERT_TRUE(window.saveCurrentBook()) << notices.join('\n').toStdString();
    EXPECT_FALSE(doc->isModified());

    const auto book = store.read(path, &error);
    ASSERT_TRUE(book) << error.toStdString();
    EXPECT_EQ(editorEntries(*book), editorEntries(doc->contents()));
    EXPECT_EQ(namesAmong(*book, windowRemoved), "") << "removed by the window, yet there";
    int32_t status = 0;
    const QStringList rows = test::libraryRows(path, &status);
    EXPECT_EQ(status, XDIR_OK);
    QStringList lost;
    for (const QString& name : stored) {
        if (!rows.contains(name + " 0301")) {
            lost.append(name);
        }
    }
    EXPECT_TRUE(lost.isEmpty()) << lost.size() << " of " << stored.size()
                                << " stored entries lost: " << lost.join(' ').toStdString();
    EXPECT_TRUE(rows.contains("start 0100"));
    // Each editor process's entries are as its last save left them, or as the save it was
    // killed in (done or not) would.
    int editorSaves = 0;
    for (const EditorReport& report : editorReports) {
        const QString state = vextel_test::editorState(*book, report.prefix);
        EXPECT_TRUE(state == report.saved || (report.pending && state == *report.pending))
            << report.prefix.toStdString() << " in the book: " << state.toStdString()
            << "\nlast saved: " << report.saved.toStdString();
        EXPECT_TRUE(report.cameBack.isEmpty())
            << report.prefix.toStdString() << " removed, then "
            << QStringList(report.cameBack.begin(), report.cameBack.end()).join(' ').toStdString()
            << " came back";
        EXPECT_FALSE(namesOf(state).intersects(report.removed)) << report.prefix.toStdString();
        editorSaves += report.saved.isEmpty() ? 0 : 1;
    }
    EXPECT_GT(editorSaves, 0);
    EXPECT_EQ(test::editorRows(*book), rows);
    EXPECT_EQ(independentRows(path), rows);
    // The run did what it is for.
    EXPECT_GT(stored.size(), 20);
    EXPECT_GT(saves, 5);
    EXPECT_GT(added, 5);
    std::printf("%lld library adds stored, %d window entries added, %d window saves, %d editor "
                "processes that saved, %d processes killed\n",
                static_cast<long long>(stored.size()), added, saves, editorSaves, kills);
}

} // namespace
