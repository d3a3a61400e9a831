#pragma once

#include "BookHash.h"
#include "BookStore.h"
#include "PrinterService.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QSaveFile>
#include <QSemaphore>

namespace vextel_addressbook::test {

// A book store over a real folder whose files hold the books in Qt's own data stream, so that
// the window's folder listing and file watching see real files while the tests do not depend on
// the vCard reader.
class FolderStore : public BookStore {
public:
    explicit FolderStore(QString folder) : folder_(std::move(folder)) {}
    QString folder() override { return folder_; }
    QStringList bookPaths() override {
        QStringList paths;
        for (const QString& name : QDir(folder_).entryList({"*.vcf"}, QDir::Files, QDir::Name)) {
            paths.append(QDir(folder_).filePath(name));
        }
        return paths;
    }
    std::optional<BookContents> read(const QString& path, QString* error) override {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = file.errorString();
            return std::nullopt;
        }
        return parse(file.readAll());
    }
    bool write(const QString& path, const BookContents& book, QString* error) override {
        ++writes;
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytesOf(book)) < 0 || !file.commit()) {
            *error = file.errorString();
            return false;
        }
        return true;
    }
    // Without the lock: the tests' books have no other writer in between.
    std::optional<BookContents> update(const QString& path, const Change& change,
                                       QString* error) override {
        QFile file(path);
        BookOnDisk current;
        QByteArray bytes;
        if (file.open(QIODevice::ReadOnly)) {
            bytes = file.readAll();
            current.hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
        }
        current.read = [&](QString*) {
            return std::optional<BookContents>(parse(bytes));
        };
        const auto next = change(current, error);
        if (!next || !write(path, *next, error)) {
            return std::nullopt;
        }
        return read(path, error);
    }
    bool exportVCard(const QString& path, const BookContents& book, QString* error) override {
        return write(path, book, error);
    }
    int writes = 0;

private:
    static BookContents parse(const QByteArray& bytes) {
        QDataStream in(bytes);
        BookContents book;
        qsizetype contacts = 0;
        in >> contacts;
        for (qsizetype i = 0; i < contacts; ++i) {
            Contact c;
            in >> c.uid >> c.name >> c.fax >> c.company >> c.note >> c.otherFaxes;
            book.contacts.append(c);
        }
        qsizetype groups = 0;
        in >> groups;
        for (qsizetype i = 0; i < groups; ++i) {
            Group g;
            in >> g.uid >> g.name >> g.memberUids;
            book.groups.append(g);
        }
        // Named as the window names a file it watches.
        book.fileHash = BookHash::ofBytes(std::string_view(bytes.constData(), bytes.size()));
        return book;
    }
    static QByteArray bytesOf(const BookContents& book) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << book.contacts.size();
        for (const Contact& c : book.contacts) {
            out << c.uid << c.name << c.fax << c.company << c.note << c.otherFaxes;
        }
        out << book.groups.size();
        for (const Group& g : book.groups) {
            out << g.uid << g.name << g.memberUids;
        }
        return bytes;
    }

    QString folder_;
};

// A printer whose book has a version that every write advances; a write of a book read at an
// older version is refused as stale. The password is 1234.
class FakePrinter : public PrinterService {
public:
    struct Version : BookOrigin {
        explicit Version(int number) : number(number) {}
        int number;
    };

    Result read(const PrinterConnection& printer, const QString& password) override {
        {
            QMutexLocker lock(&mutex);
            readsFrom.append(printer.address);
        }
        if (gate != nullptr) {
            gate->acquire();
        }
        QMutexLocker lock(&mutex);
        passwords.append(password);
        Result result;
        if (password != QLatin1String("1234")) {
            result.message = "The printer refused the password.";
            return result;
        }
        result.ok = true;
        result.bookRead = true;
        result.book = otherBooks.value(printer.address, book);
        result.book.origin = std::make_shared<Version>(version);
        return result;
    }
    Result write(const PrinterConnection&, const QString& password,
                 const BookContents& written) override {
        QMutexLocker lock(&mutex);
        passwords.append(password);
        Result result;
        const auto* origin = dynamic_cast<const Version*>(written.origin.get());
        if (origin == nullptr || origin->number != version) {
            result.stale = true;
            result.message = "The printer's book was changed by someone else since it was read.";
            return result;
        }
        book = written;
        book.origin.reset();
        ++version;
        result.ok = true;
        return result;
    }
    // Someone else writes the printer's book.
    void changeBehindTheEditor(const BookContents& next) {
        QMutexLocker lock(&mutex);
        book = next;
        ++version;
    }

    QMutex mutex;
    BookContents book;
    // The books of printers at other addresses than the one of book.
    QHash<QString, BookContents> otherBooks;
    int version = 1;
    QStringList passwords;
    QStringList readsFrom; // the address of each read, as it starts
    // When set, each read waits for one permit before it answers, as a slow printer does.
    QSemaphore* gate = nullptr;
};

} // namespace vextel_addressbook::test
