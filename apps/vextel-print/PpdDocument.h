#pragma once

#include <QMap>
#include <QString>
#include <cups/ppd.h>
#include <memory>

namespace vextel_print {

// The printer's PPD as the host keeps it: opened once, defaults marked, choices marked when a
// panel asks. Panels borrow the record; only the host changes its marks.
class PpdDocument {
public:
    // Opens a PPD file; null with a reason in *error when libcups cannot read it.
    static std::unique_ptr<PpdDocument> openFile(const QString& path, QString* error);
    // Fetches the PPD of a CUPS queue from the server (empty: the default server) and opens it.
    static std::unique_ptr<PpdDocument> openQueue(const QString& queue, const QString& server,
                                                  QString* error);
    ~PpdDocument();
    PpdDocument(const PpdDocument&) = delete;
    PpdDocument& operator=(const PpdDocument&) = delete;

    ppd_file_t* record() const { return ppd_; }
    QString path() const { return path_; }
    QString modelName() const;

    // Marks the choice of the option; true when the option now has exactly that choice marked
    // (an unknown option or choice marks nothing).
    bool markOption(const QString& keyword, const QString& choice);
    // Option keyword -> marked choice keyword, for every option with a marked choice.
    QMap<QString, QString> markedChoices() const;

private:
    PpdDocument(ppd_file_t* ppd, QString path, QString temporaryCopy);
    void addMarkedChoices(const ppd_group_t& group, QMap<QString, QString>& marked) const;
    ppd_file_t* ppd_;
    QString path_;
    QString temporaryCopy_; // removed when the document goes
};

} // namespace vextel_print
