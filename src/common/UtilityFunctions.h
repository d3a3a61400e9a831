#pragma once

#include "kit/TextEncoding.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cups/ppd.h>
#include <memory>
#include <optional>

namespace kit {
class Bundle;
}

namespace tarvik_pde_m40vextel {

// Password scrambling: the text's bytes in the encoding (at most 189 of them), XORed with the
// fixed key and written as Base64. None without a text, when no character converts, or when the
// bytes are too many.
std::optional<QString> CreateEncryptedString(const std::optional<QString>& text,
                                             kit::StringEncoding encoding);
// The inverse of CreateEncryptedString; none when the text is not a scrambled form or the bytes
// are not valid in the encoding.
std::optional<QString> CreateDecryptedString(const std::optional<QString>& text,
                                             kit::StringEncoding encoding);

// The slash-decimal form: a text whose bytes in the encoding hold a comma, apostrophe, backslash
// or slash becomes "/" and the signed decimal value of each byte; any other text comes back as it
// is. None, with a line on standard error, when the text does not fit 255 bytes or cannot be
// represented.
std::optional<QString> CopyEncodedString(const std::optional<QString>& text,
                                         kit::StringEncoding encoding);
// The inverse of CopyEncodedString; a text that does not begin with "/" comes back as it is.
std::optional<QString> CopyDecodedString(const std::optional<QString>& text,
                                         kit::StringEncoding encoding);

// The number of UTF-16 little-endian units before the first 0 unit among the first
// sizeInBytes / 2; -1 without a buffer, with a size under 2, or without a terminator.
qsizetype unicharLength(const void* buffer, qsizetype sizeInBytes);

// The numeric address of the host: a numeric IPv4 or IPv6 text is copied as it is; a name is
// resolved and the first convertible address written (a link-local IPv6 address with "%" and its
// interface when that fits). 1 when resolution failed (or without a host or an output buffer),
// else 0, even when nothing was written.
int CopyResolvedIPAddress(const char* host, char* output, size_t outputSize);

// Help books. Each does nothing without a bundle or without a book name in the bundle.
void RegisterHelpBook(const std::shared_ptr<kit::Bundle>& bundle);
void GotoHelpPage(const std::shared_ptr<kit::Bundle>& bundle, const QString& pagePath,
                  const std::optional<QString>& anchor = std::nullopt);
// The PPD attribute, when present, names the Info.plist key that holds the book name.
void GotoHelpPage2_105(const ppd_file_t* ppd, const char* attributeName,
                       const std::shared_ptr<kit::Bundle>& bundle, const QString& pagePath,
                       const std::optional<QString>& anchor = std::nullopt);
// The PPD attribute, when present with a value, names the folder of the page.
void GotoHelpPage2_106(const ppd_file_t* ppd, const char* attributeName,
                       const std::shared_ptr<kit::Bundle>& bundle, const QString& folder,
                       const std::optional<QString>& pageName,
                       const std::optional<QString>& anchor = std::nullopt);

// The system's minor version (kernel major release - 4), cached for the process once known;
// -1 while the kernel release cannot be read.
int32_t getOSMinorVersion();

// The value of the first attribute whose name begins with the given name, decoded as UTF-8.
std::optional<QString> CopyPPDAttribute(const ppd_file_t* ppd, const char* name);
// The encoding in which the printer takes text, from the PPD attribute TKPrinterLanguageEncoding;
// Shift-JIS X0213 by default.
kit::StringEncoding GetEncodingInfoFromPPD(const ppd_file_t* ppd);

// Group membership through the user and group database.
bool IsUserAdmin();
bool CheckUserGroups(const char* userName, const char* groupName);

} // namespace tarvik_pde_m40vextel
