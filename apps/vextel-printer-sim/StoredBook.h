#pragma once

#include "DeviceBook.h"

#include <optional>
#include <string>
#include <vector>

namespace vextel_sim {

// The simulated printer's book on disk: a JSON document as the printer serves it, or a vCard
// book read through the library's own reader. Saving writes JSON and is atomic (temporary file in
// the same folder, flush, rename, flush of the folder), so a crash leaves the old book or the new
// one.
class StoredBook {
public:
    // The book, or nullopt with one line in *error. Warnings about a vCard book (an entry the
    // printer cannot dial, a group cut to the record) go to *warnings, one line each.
    static std::optional<xdirkit::DeviceBook> load(const std::string& path, std::string* error,
                                                   std::vector<std::string>* warnings = nullptr);
    static bool save(const std::string& path, const xdirkit::DeviceBook& book, std::string* error);
    // A vCard book (by its name ending in .vcf or .vcard, or its first card): a write must not
    // turn it into JSON.
    static bool isVCard(const std::string& path);
};

} // namespace vextel_sim
