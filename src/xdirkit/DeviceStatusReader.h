#pragma once

#include "JsonValueEvents.h"

#include <optional>
#include <string>

namespace xdirkit {

// Reads the printer's status document as it is parsed: the top-level "state" and "detail"
// members, skipping everything else without keeping it.
class DeviceStatusReader : public JsonValueEvents {
public:
    // The state when the document is an object whose "state" is a string and whose "detail",
    // if any, is a string too; absent otherwise.
    std::optional<std::string> state() const;

protected:
    void onKey(std::string& name) override;
    void onValue(const Value& value) override;
    void onEnd() override;

private:
    std::size_t depth_ = 0; // of the value being read: 0 the document, 1 its members
    bool isObject_ = false;
    std::string key_;
    std::optional<std::string> state_;
    bool detailIsText_ = true;
};

} // namespace xdirkit
