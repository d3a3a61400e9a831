#pragma once

#include <QString>
#include <optional>

namespace tarvik_pde_m40vextel {

// Class methods only: text from fixed UTF-16 fields, the host's IPv4 address, help registration
// cleanup, the sandbox test and the administrator test.
class UtilityService {
public:
    UtilityService() = delete;

    // The text of a NUL-terminated UTF-16 little-endian field of the given byte size; none when
    // the field is empty, unterminated or missing.
    static std::optional<QString> stringFromUnicodeBuf(const void* buffer, qsizetype length);

    // The first IPv4 address of the primary network service, when its interface's link is
    // active; none otherwise.
    static std::optional<QString> copyHostIPv4Address();

    // Removes the bundle's entry from the help registration store when its registered URL points
    // into a localization folder (".lproj"), so that the book is registered anew from the bundle.
    static void removeHelpCacheForBundleID(const std::optional<QString>& bundleID);
    // The help registration store: an XML property list in the user's configuration folder.
    static QString helpRegistrationStorePath();

    // True when the process runs in an application sandbox: a home directory inside an
    // application container, a Flatpak (/.flatpak-info present) or a Snap (SNAP set). Decided
    // once per process.
    static bool isSandboxed();
    // The rule behind isSandboxed, on given facts.
    static bool isSandboxedHost(const QString& homeDirectory, bool flatpakInfoPresent,
                                bool snapSet);

    // True when the user is a member of the group "admin" by the identity service.
    static bool checkIfAdminUser(const std::optional<QString>& userName);
};

} // namespace tarvik_pde_m40vextel
