// An editor of a book, through the editor's own document and store (the window's save path):
// adds PREFIX0, PREFIX1, ..., edits their notes and further fax numbers, removes some, and saves
// now and then, until it is killed. Before each save it prints "saving STATE", after it "saved"
// or "failed REASON"; STATE is its own entries, sorted, as "name|fax,fax|note" joined by ";".
//   book-editor-probe BOOK PREFIX SEED
#include "BookDocument.h"
#include "EditorState.h"
#include "VCardBookStore.h"

#include <QCoreApplication>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

namespace {

using namespace vextel_addressbook;

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: book-editor-probe BOOK PREFIX SEED\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)));
    VCardBookStore store;
    QString error;
    auto contents = store.read(path, &error);
    if (!contents) {
        std::printf("failed %s\n", qPrintable(error));
        return 1;
    }
    BookDocument doc(path, *contents);
    for (int i = 0;; ++i) {
        QList<qsizetype> own;
        for (qsizetype row = 0; row < doc.contents().contacts.size(); ++row) {
            if (doc.contents().contacts[row].name.startsWith(prefix)) {
                own.append(row);
            }
        }
        const int action = static_cast<int>(random() % 10);
        if (action <= 3 || own.isEmpty()) {
            doc.addContact(Contact{{}, prefix + QString::number(i), "0403", {}, {}, -1}, &error);
        } else if (action <= 5) {
            const qsizetype row = own[static_cast<qsizetype>(random() % own.size())];
            Contact edited = doc.contents().contacts[row];
            edited.note = QStringLiteral("note %1").arg(random() % 1000);
            edited.otherFaxes = {QStringLiteral("06%1").arg(random() % 1000)};
            doc.editContact(row, edited, &error);
        } else if (action == 6) {
            doc.removeContacts({own[static_cast<qsizetype>(random() % own.size())]});
        } else {
            std::printf("saving %s\n",
                        qPrintable(vextel_test::editorState(doc.contents(), prefix)));
            std::fflush(stdout);
            if (doc.save(store, &error)) {
                std::printf("saved\n");
            } else {
                std::printf("failed %s\n", qPrintable(error));
            }
            std::fflush(stdout);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 40));
    }
}
