#pragma once

#include <QString>

namespace vextel_addressbook {

// The editor's own settings, kept per user in the desktop's configuration folder
// ($XDG_CONFIG_HOME/vextel/vextel-addressbook.conf). A setting that cannot be read has its
// default.
class EditorSettings {
public:
    static constexpr const char* kDefaultInternationalPrefix = "00";

    // What an import writes for the "+" that begins an international number; "00" unless the
    // user chose another (the digits dialled from this fax line to call abroad).
    static QString internationalPrefix();
    static void setInternationalPrefix(const QString& prefix);
};

} // namespace vextel_addressbook
