#include "vextelpde/PpdFeature.h"

#include <cstring>

namespace tarvik_pde_m40vextel {

namespace {

// Where the choice keyword begins with the default choice's keyword, compared over the length of
// the default keyword only.
bool beginsWithDefault(const ppd_choice_t& choice, const char* defaultChoice) {
    return std::strncmp(choice.choice, defaultChoice, std::strlen(defaultChoice)) == 0;
}

} // namespace

PpdFeature::PpdFeature(ppd_file_t* ppd, const QString& keyword) : ppd_(ppd) {
    const QByteArray utf8 = keyword.toUtf8();
    // At most 255 bytes including the terminator go into the buffer.
    if (static_cast<std::size_t>(utf8.size()) + 1 > kKeywordCopyLimit) {
        return;
    }
    std::memcpy(keyword_, utf8.constData(), static_cast<std::size_t>(utf8.size()));
    keyword_[utf8.size()] = '\0';
    if (ppd_ == nullptr || keyword_[0] == '\0') {
        return;
    }
    ppd_option_t* option = ppdFindOption(ppd_, keyword_);
    if (option == nullptr) {
        return;
    }
    title_ = option->text;
    for (int index = 0; index < option->num_choices; ++index) {
        ppd_choice_t& choice = option->choices[index];
        if (choice.marked != 0) {
            curChoice_ = &choice;
            break;
        }
        if (beginsWithDefault(choice, option->defchoice)) {
            curChoice_ = &choice;
        }
    }
}

QString PpdFeature::keyword() const {
    return QString::fromUtf8(keyword_);
}

QString PpdFeature::title() const {
    return title_ == nullptr ? QString() : QString::fromUtf8(title_);
}

QString PpdFeature::curValue() const {
    return curChoice_ == nullptr ? QString() : QString::fromUtf8(curChoice_->text);
}

QString PpdFeature::curChoice() const {
    return curChoice_ == nullptr ? QString() : QString::fromUtf8(curChoice_->choice);
}

void PpdFeature::setCurChoice(ppd_choice_t* choice) {
    curChoice_ = choice;
}

void PpdFeature::setDefault() {
    if (ppd_ == nullptr || keyword_[0] == '\0') {
        return;
    }
    ppd_option_t* option = ppdFindOption(ppd_, keyword_);
    if (option == nullptr || option->num_choices <= 0) {
        return;
    }
    for (int index = 0; index < option->num_choices; ++index) {
        ppd_choice_t& choice = option->choices[index];
        if (std::strcmp(choice.choice, option->defchoice) == 0) {
            curChoice_ = &choice;
            return;
        }
    }
}

void PpdFeature::setSummaryInfo(QVariantMap& summary) const {
    if (title_ == nullptr) {
        return;
    }
    const QString value = curValue();
    summary.insert(title(), value.isNull() ? QStringLiteral("") : value);
}

void PpdFeature::setSummaryInfo(QVariantMap& summary, QStringList& order) const {
    if (title_ == nullptr) {
        return;
    }
    setSummaryInfo(summary);
    order.append(title());
}

} // namespace tarvik_pde_m40vextel
