#pragma once

#include <optional>
#include <string>
#include <vector>

namespace xdirkit {

// The folder that holds the user's PC address books, one vCard file (*.vcf) each.
class AddressBookFolder {
public:
    // $VEXTEL_ADDRESS_BOOK_DIR, else $XDG_DATA_HOME/vextel/address-books, else
    // $HOME/.local/share/vextel/address-books; created with mode 0700 when missing (its missing
    // parents too). Null when it cannot be made, is not a folder, or another user may write it
    // (FileTrust).
    static std::optional<std::string> directory();

    // The names of the *.vcf files (regular files, or links to them) in directory, sorted by
    // byte order. Null when the folder cannot be read.
    static std::optional<std::vector<std::string>> bookNames(const std::string& directory);
};

} // namespace xdirkit
