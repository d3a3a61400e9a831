#pragma once

#include <QString>
#include <optional>

namespace kit {

// A file or folder name as text, or none when its bytes are not UTF-8: text could not name that
// file again, and a write through it would make another one. A name left out is logged as
// "<who>: <what> <bytes, percent-encoded> is not UTF-8; left out".
std::optional<QString> fileNameText(const char* name, const char* who, const char* what);

} // namespace kit
