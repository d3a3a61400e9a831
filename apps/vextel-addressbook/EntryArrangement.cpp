#include "EntryArrangement.h"

#include <algorithm>
#include <numeric>

namespace vextel_addressbook {

namespace {

// Between the columns of a row's joined texts: a noncharacter, which no text of a book holds,
// so that a search that does not hold it cannot match across two columns.
constexpr QChar kColumnEnd(0xFFFF);

// As QString::toCaseFolded, in place and with a quick path for ASCII: simple case folding maps
// each character to one character of the same length, so the bounds of the texts hold.
void foldCase(QString& text) {
    char16_t* units = reinterpret_cast<char16_t*>(text.data());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (unit < 0x80) {
            if (unit >= u'A' && unit <= u'Z') {
                units[i] = static_cast<char16_t>(unit + (u'a' - u'A'));
            }
        } else if (QChar::isHighSurrogate(unit) && i + 1 < size &&
                   QChar::isLowSurrogate(units[i + 1])) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(unit, units[i + 1]));
            units[i] = QChar::highSurrogate(folded);
            units[++i] = QChar::lowSurrogate(folded);
        } else {
            units[i] = static_cast<char16_t>(QChar::toCaseFolded(char32_t(unit)));
        }
    }
}

} // namespace

EntryArrangement::EntryArrangement(int columns, int numericColumn)
    : columns_(columns), numericColumn_(numericColumn) {}

void EntryArrangement::setRows(qsizetype count, const Text& text,
                               const std::function<qint64(qsizetype row)>& number) {
    const auto rows = static_cast<std::size_t>(count);
    // Measured first, so that the buffer is made once at its size.
    qsizetype length = 0;
    for (qsizetype row = 0; row < count; ++row) {
        for (int column = 0; column < columns_; ++column) {
            length += text(row, column).size() + 1;
        }
    }
    folded_.clear();
    folded_.reserve(length);
    bounds_.clear();
    bounds_.reserve(rows * static_cast<std::size_t>(columns_) + 1);
    numbers_.assign(numericColumn_ >= 0 ? rows : 0, 0);
    for (qsizetype row = 0; row < count; ++row) {
        for (int column = 0; column < columns_; ++column) {
            bounds_.push_back(folded_.size());
            folded_ += text(row, column);
            folded_ += kColumnEnd;
        }
        if (numericColumn_ >= 0 && number) {
            numbers_[static_cast<std::size_t>(row)] = number(row);
        }
    }
    bounds_.push_back(folded_.size());
    foldCase(folded_);
    sorted_.resize(rows);
    std::iota(sorted_.begin(), sorted_.end(), 0);
    sort();
    filter();
}

void EntryArrangement::sortBy(int column, Qt::SortOrder order) {
    sortColumn_ = column;
    sortOrder_ = order;
    sort();
    filter();
}

void EntryArrangement::setSearch(const QString& text) {
    search_ = text;
    foldCase(search_);
    filter();
}

QStringView EntryArrangement::foldedText(qsizetype row, int column) const {
    const std::size_t at = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                           static_cast<std::size_t>(column);
    const qsizetype begin = bounds_[at];
    return QStringView(folded_).sliced(begin, bounds_[at + 1] - 1 - begin); // before kColumnEnd
}

QStringView EntryArrangement::foldedRow(qsizetype row) const {
    const std::size_t at = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_);
    return QStringView(folded_).sliced(
        bounds_[at], bounds_[at + static_cast<std::size_t>(columns_)] - bounds_[at]);
}

bool EntryArrangement::matches(qsizetype row) const {
    if (search_.isEmpty()) {
        return true;
    }
    if (!search_.contains(kColumnEnd)) {
        return foldedRow(row).contains(search_);
    }
    for (int column = 0; column < columns_; ++column) {
        if (foldedText(row, column).contains(search_)) {
            return true;
        }
    }
    return false;
}

// From the present order, as a sortable view does it: rows that compare equal keep the order the
// last sort gave them.
void EntryArrangement::sort() {
    if (sortColumn_ < 0 || sortColumn_ >= columns_) {
        return;
    }
    const bool ascending = sortOrder_ == Qt::AscendingOrder;
    if (sortColumn_ == numericColumn_) {
        std::stable_sort(sorted_.begin(), sorted_.end(), [&](int a, int b) {
            const qint64 left = numbers_[static_cast<std::size_t>(a)];
            const qint64 right = numbers_[static_cast<std::size_t>(b)];
            return ascending ? left < right : right < left;
        });
        return;
    }
    std::stable_sort(sorted_.begin(), sorted_.end(), [&](int a, int b) {
        const int order = foldedText(a, sortColumn_).compare(foldedText(b, sortColumn_));
        return ascending ? order < 0 : order > 0;
    });
}

void EntryArrangement::filter() {
    if (search_.isEmpty()) {
        shown_ = sorted_;
        return;
    }
    shown_.clear();
    for (int row : sorted_) {
        if (matches(row)) {
            shown_.push_back(row);
        }
    }
}

} // namespace vextel_addressbook
