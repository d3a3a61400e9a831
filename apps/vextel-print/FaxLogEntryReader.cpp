#include "FaxLogEntryReader.h"

#include <nlohmann/json.hpp>

namespace vextel_print {

namespace {

// The document, its members, the recipients' list, each recipient's members.
constexpr std::size_t kMembers = 1;
constexpr std::size_t kRecipients = 2;
constexpr std::size_t kRecipientMembers = 3;

QString textOf(const xdirkit::JsonValueEvents::Value& value) {
    return value.kind == xdirkit::JsonValueEvents::Kind::String
               ? QString::fromStdString(*value.text)
               : QString();
}

} // namespace

bool FaxLogEntryReader::read(std::string_view text, FaxJobResults::Job& job) {
    FaxLogEntryReader reader;
    if (!nlohmann::json::sax_parse(text.begin(), text.end(), &reader) || !reader.isObject_ ||
        !reader.hasState_ || !reader.hasRecipients_ || reader.recipientIsWrong_)
        return false;
    job.printerState = reader.state_;
    job.recipients = std::move(reader.recipients_);
    return true;
}

void FaxLogEntryReader::onKey(std::string& name) {
    key_ = std::move(name);
}

void FaxLogEntryReader::onValue(const Value& value) {
    const bool opens = value.kind == Kind::Object || value.kind == Kind::Array;
    if (depth_ == 0) {
        isObject_ = value.kind == Kind::Object;
    } else if (depth_ == kMembers && key_ == "state") {
        // A member named twice is the later one.
        hasState_ = value.kind == Kind::String;
        state_ = textOf(value);
    } else if (depth_ == kMembers && key_ == "recipients") {
        hasRecipients_ = inRecipients_ = value.kind == Kind::Array;
        recipientIsWrong_ = false;
        recipients_.clear();
    } else if (depth_ == kRecipients && inRecipients_) {
        if (value.kind != Kind::Object)
            recipientIsWrong_ = true;
        else if (recipients_.size() < kMaximumRecipients) {
            recipients_.append(FaxJobResults::Recipient());
            inRecipient_ = true;
        }
    } else if (depth_ == kRecipientMembers && inRecipient_) {
        onRecipientMember(value);
    }
    if (opens)
        ++depth_;
}

void FaxLogEntryReader::onRecipientMember(const Value& value) {
    FaxJobResults::Recipient& recipient = recipients_.back();
    if (key_ == "number")
        recipient.number = value.identifier;
    else if (key_ == "tries")
        recipient.tries = value.identifier;
    else if (key_ == "name")
        recipient.name = textOf(value);
    else if (key_ == "faxNumber")
        recipient.faxNumber = textOf(value);
    else if (key_ == "state")
        recipient.state = textOf(value);
    else if (key_ == "time")
        recipient.time = textOf(value);
}

void FaxLogEntryReader::onEnd() {
    --depth_;
    if (depth_ == kMembers)
        inRecipients_ = false;
    else if (depth_ == kRecipients)
        inRecipient_ = false;
}

} // namespace vextel_print
