#pragma once

#include "DeviceBook.h"

#include <optional>
#include <string>

namespace vextel_sim {

// The simulated printer's book on disk: a JSON document as the printer serves it. Saving is
// atomic (temporary file in the same folder, flush, rename, flush of the folder), so a crash
// leaves the old book or the new one.
class StoredBook {
public:
    // The book, or nullopt with one line in *error.
    static std::optional<xdirkit::DeviceBook> load(const std::string& path, std::string* error);
    static bool save(const std::string& path, const xdirkit::DeviceBook& book, std::string* error);
};

} // namespace vextel_sim
