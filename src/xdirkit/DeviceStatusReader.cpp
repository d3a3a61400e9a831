#include "DeviceStatusReader.h"

namespace xdirkit {

std::optional<std::string> DeviceStatusReader::state() const {
    if (!isObject_ || !detailIsText_)
        return std::nullopt;
    return state_;
}

void DeviceStatusReader::onKey(std::string& name) {
    if (depth_ == 1)
        key_ = std::move(name);
}

void DeviceStatusReader::onValue(const Value& value) {
    if (depth_ == 0) {
        isObject_ = value.kind == Kind::Object;
    } else if (depth_ == 1 && key_ == "state") {
        // A later member of the same name replaces an earlier one.
        state_ = value.kind == Kind::String ? std::optional(std::move(*value.text)) : std::nullopt;
    } else if (depth_ == 1 && key_ == "detail") {
        detailIsText_ = value.kind == Kind::String;
    }
    if (value.kind == Kind::Object || value.kind == Kind::Array)
        ++depth_;
}

void DeviceStatusReader::onEnd() {
    --depth_;
}

} // namespace xdirkit
