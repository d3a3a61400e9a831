#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <cups/ppd.h>

namespace tarvik_pde_m40vextel {

// One PPD option that the fax panel shows in a popup: its keyword, its title and its current
// choice. Reads the host's PPD but never changes it; the title and the current choice point into
// the PPD's records and stay valid while the host keeps the PPD open.
class PpdFeature {
public:
    // The current choice is the first marked choice; without one, the last choice whose keyword
    // begins with the default choice's keyword. A keyword the PPD does not define (or one too
    // long for the buffer) leaves the feature without title and current choice.
    PpdFeature(ppd_file_t* ppd, const QString& keyword);

    QString keyword() const;
    // The option's human-readable title; a null QString without an option.
    QString title() const;
    // The current choice's title and keyword; null QStrings without a current choice.
    QString curValue() const;
    QString curChoice() const;

    // Makes exactly this record current, unchecked (the panel passes ppdFindMarkedChoice's).
    void setCurChoice(ppd_choice_t* choice);
    // Makes the choice whose keyword equals the default choice keyword current; nothing when
    // there is none.
    void setDefault();

    // title -> curValue. A feature without an option adds nothing.
    void setSummaryInfo(QVariantMap& summary) const;
    // The same entry, then the title appended to the order.
    void setSummaryInfo(QVariantMap& summary, QStringList& order) const;

    bool hasOption() const { return title_ != nullptr; }

private:
    static constexpr std::size_t kKeywordBufferSize = 256;
    static constexpr std::size_t kKeywordCopyLimit = kKeywordBufferSize - 1;

    ppd_file_t* ppd_;
    char keyword_[kKeywordBufferSize] = {};
    const char* title_ = nullptr;
    ppd_choice_t* curChoice_ = nullptr;
};

} // namespace tarvik_pde_m40vextel
