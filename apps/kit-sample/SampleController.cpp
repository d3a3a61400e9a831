#include "SampleController.h"

#include "kit/Alert.h"
#include "kit/Application.h"
#include "kit/ArrayController.h"
#include "kit/Dictionary.h"
#include "kit/Formatter.h"
#include "kit/KeyValue.h"
#include "kit/Panel.h"
#include "kit/TableView.h"
#include "kit/TextField.h"

#include <algorithm>

namespace kit_sample {
namespace {

// Fax numbers: digits only, at most 20 of them.
class DigitsFormatter : public kit::Formatter {
public:
    bool isPartialStringValid(const QString& partialString, QString*, QString*) const override {
        return partialString.size() <= 20 &&
               std::all_of(partialString.begin(), partialString.end(),
                           [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    }
};

} // namespace

SampleController::SampleController()
    : delayedTime_(QDate::currentDate(), QTime(18, 0)),
      numberFormatter_(std::make_unique<DigitsFormatter>()) {}

SampleController::~SampleController() {
    // The field borrows the formatter and may outlive this controller.
    if (formattedField_ != nullptr) {
        formattedField_->setFormatter(nullptr);
    }
}

void SampleController::setName(const QString& name) {
    if (name_ != name) {
        name_ = name;
        emit nameChanged();
    }
}

void SampleController::setNumber(const QString& number) {
    if (number_ != number) {
        number_ = number;
        emit numberChanged();
    }
}

void SampleController::setSearchText(const QString& text) {
    if (searchText_ != text) {
        searchText_ = text;
        emit searchTextChanged();
    }
}

void SampleController::setQuality(int quality) {
    if (quality_ != quality) {
        quality_ = quality;
        emit qualityChanged();
    }
}

void SampleController::setDelayed(int delayed) {
    if (delayed_ != delayed) {
        delayed_ = delayed;
        emit delayedChanged();
    }
}

void SampleController::setDelayedTime(const QDateTime& time) {
    if (delayedTime_ != time) {
        delayedTime_ = time;
        emit delayedTimeChanged();
    }
}

bool SampleController::canRemove() const {
    return recipients_ != nullptr && !recipients_->selectedObjects().isEmpty();
}

QString SampleController::status() const {
    const int count = recipients_ != nullptr ? recipients_->count() : 0;
    if (count == 0) {
        return QStringLiteral("No recipients");
    }
    return count == 1 ? QStringLiteral("1 recipient") : QStringLiteral("%1 recipients").arg(count);
}

QString SampleController::summary() const {
    return QStringLiteral("The list holds: %1.").arg(status().toLower());
}

void SampleController::awakeFromNib() {
    if (numberField_ != nullptr) {
        numberField_->setFormatter(numberFormatter_.get());
        formattedField_ = numberField_;
    }
    if (recipients_ != nullptr) {
        recipients_->setSortDescriptors({{"name", false, true}, {"number", false, true}});
        // The flag is derived from the selection: writing it back under its own key tells the
        // bound Remove button to read it again.
        observations_.push_back(
            kit::observe(recipients_, "selectedObjects", [this](const QVariant&) {
                kit::setValueForKey(this, "canRemove", canRemove());
            }));
        observations_.push_back(kit::observe(recipients_, "arrangedObjects",
                                             [this](const QVariant&) { emit statusChanged(); }));
    }
    if (files_ != nullptr) {
        files_->addObjects({kit::Dictionary::create({{"name", "Home.vcf"}}),
                            kit::Dictionary::create({{"name", "Office.vcf"}})});
        files_->setSelectionIndex(0);
    }
}

void SampleController::addRecipient(const QString& name, const QString& number) {
    if (recipients_ != nullptr) {
        recipients_->addObject(kit::Dictionary::create({{"name", name}, {"number", number}}));
    }
}

void SampleController::addRecipient(QObject* sender) {
    Q_UNUSED(sender);
    if (!canAdd()) {
        return;
    }
    addRecipient(name_, number_);
    setName(QString());
    setNumber(QString());
}

void SampleController::removeRecipients(QObject* sender) {
    Q_UNUSED(sender);
    if (recipients_ != nullptr) {
        recipients_->removeSelectedObjects();
    }
}

void SampleController::search(QObject* sender) {
    Q_UNUSED(sender);
    if (recipients_ == nullptr || searchText_.isEmpty()) {
        return;
    }
    const QList<kit::ObjectRef> arranged = recipients_->arrangedObjects();
    for (int index = 0; index < arranged.size(); ++index) {
        const QString name = kit::valueForKey(arranged.at(index).get(), "name").toString();
        if (name.startsWith(searchText_, Qt::CaseInsensitive)) {
            recipients_->setSelectionIndex(index);
            return;
        }
    }
}

void SampleController::showDetails(QObject* sender) {
    Q_UNUSED(sender);
    kit::Application::runModal(detailsPanel_);
}

void SampleController::clearList(QObject* sender) {
    Q_UNUSED(sender);
    if (recipients_ == nullptr) {
        return;
    }
    kit::Alert alert;
    alert.setMessageText(QStringLiteral("Remove all recipients?"));
    alert.setInformativeText(summary());
    alert.addButtonWithTitle(QStringLiteral("OK"));
    alert.addButtonWithTitle(QStringLiteral("Cancel"));
    if (alert.runModal() == kit::AlertFirstButtonReturn) {
        recipients_->removeAllArrangedObjects();
    }
}

void SampleController::closeDetails(QObject* sender) {
    Q_UNUSED(sender);
    if (detailsPanel_ != nullptr) {
        detailsPanel_->orderOut();
    }
    kit::Application::stopModal();
}

void SampleController::start(QObject* sender) {
    Q_UNUSED(sender);
    finish(1);
}

void SampleController::stop(QObject* sender) {
    Q_UNUSED(sender);
    finish(0);
}

void SampleController::finish(int outcome) {
    outcome_ = outcome;
    if (window_ != nullptr) {
        window_->orderOut();
    }
    kit::Application::stopModalWithCode(outcome);
}

} // namespace kit_sample
