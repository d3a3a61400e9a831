#pragma once

#include "FaxJobResults.h"
#include "JsonValueEvents.h"

#include <string>
#include <string_view>

namespace vextel_print {

// Reads one job of the printer's fax log (docs/device-protocol.md) as its JSON is parsed: the
// job's state and its recipients, and nothing else of the document, so that an answer of up to
// 8 MiB never becomes a tree many times its size. A member of the wrong type counts as absent.
class FaxLogEntryReader : public xdirkit::JsonValueEvents {
public:
    // A fax job has no more recipients; later ones are not kept.
    static constexpr qsizetype kMaximumRecipients = 30;

    // Fills the job's printer state and recipients. False, the job untouched, when the text is
    // not JSON or not an object with a string "state" and an array "recipients" of objects.
    static bool read(std::string_view text, FaxJobResults::Job& job);

protected:
    void onKey(std::string& name) override;
    void onValue(const Value& value) override;
    void onEnd() override;

private:
    void onRecipientMember(const Value& value);

    std::size_t depth_ = 0; // open objects and arrays around the value being read
    std::string key_;
    bool isObject_ = false;
    bool hasState_ = false;
    bool hasRecipients_ = false;
    bool inRecipients_ = false;
    bool inRecipient_ = false; // one that is kept
    bool recipientIsWrong_ = false;
    QString state_;
    QList<FaxJobResults::Recipient> recipients_;
};

} // namespace vextel_print
