#include "UtilityFunctions.h"

#include "Utils.h"
#include "help/HelpCenter.h"
#include "kit/Bundle.h"
#include "kit/Environment.h"
#include "kit/Resolver.h"
#include "kit/UserDatabase.h"
#include "xsplib/xspenclib.h"

#include <QVariant>
#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

namespace tarvik_pde_m40vextel {

namespace {

constexpr size_t kWorkBufferSize = 256;
constexpr int32_t kWorkCapacity = 255;
constexpr size_t kEncodedBufferSize = 1024;
constexpr const char* kHelpBookNameKey = "CFBundleHelpBookName";
constexpr kit::StringEncoding kDefaultPrinterEncoding = kit::TextEncoding::ShiftJIS_X0213;

using WorkBuffer = std::array<unsigned char, kWorkBufferSize>;

void printDiagnostic(const char* line) {
    std::fputs(line, stderr);
    std::fputc('\n', stderr);
}

bool needsEscaping(const QByteArray& bytes) {
    for (const char byte : bytes) {
        if (byte == ',' || byte == '\'' || byte == '\\' || byte == '/') {
            return true;
        }
    }
    return false;
}

// Each byte, 0 included, as "/" and its value taken as a signed 8-bit number.
QByteArray slashDecimalForm(const QByteArray& bytes) {
    QByteArray encoded;
    for (const char byte : bytes) {
        encoded.append('/');
        encoded.append(QByteArray::number(static_cast<int>(static_cast<signed char>(byte))));
    }
    return encoded;
}

// None when the element is not a decimal number.
std::optional<unsigned char> decodedByte(const QByteArray& element) {
    char* end = nullptr;
    const long value = std::strtol(element.constData(), &end, 10);
    if (end == element.constData() || *end != '\0') {
        return std::nullopt;
    }
    if (value >= 255) {
        return 255;
    }
    return static_cast<unsigned char>(value); // negative values wrap modulo 256
}

// The bytes after the leading "/"; none when an element is no number (a 0 byte among them too).
std::optional<QByteArray> decodeSlashDecimal(const QByteArray& form) {
    QByteArray decoded;
    for (const QByteArray& element : form.mid(1).split('/')) {
        const std::optional<unsigned char> byte = decodedByte(element);
        if (!byte) {
            return std::nullopt;
        }
        decoded.append(static_cast<char>(*byte));
    }
    return decoded;
}

bool isLinkLocal(const in6_addr& address) {
    return address.s6_addr[0] == 0xFE && (address.s6_addr[1] & 0xC0) == 0x80;
}

bool isNumericAddress(const char* host) {
    unsigned char address[sizeof(in6_addr)];
    return inet_pton(AF_INET, host, address) == 1 || inet_pton(AF_INET6, host, address) == 1;
}

socklen_t boundedSocklen(size_t size) {
    return size > static_cast<size_t>(INT_MAX) ? static_cast<socklen_t>(INT_MAX)
                                               : static_cast<socklen_t>(size);
}

// Writes the IPv6 address, with "%" and the interface name when it is link-local, its scope
// names an interface, and the whole fits; false when the address itself cannot be written.
bool writeIPv6Address(const sockaddr_in6& address, char* output, size_t outputSize) {
    if (inet_ntop(AF_INET6, &address.sin6_addr, output, boundedSocklen(outputSize)) == nullptr) {
        return false;
    }
    char interfaceName[IF_NAMESIZE] = {};
    if (isLinkLocal(address.sin6_addr) &&
        kit::Resolver::current().interfaceName(address.sin6_scope_id, interfaceName) != nullptr) {
        const size_t length = std::strlen(output);
        if (length + 1 + std::strlen(interfaceName) + 1 <= outputSize) {
            std::snprintf(output + length, outputSize - length, "%%%s", interfaceName);
        }
    }
    return true;
}

std::optional<QString> helpBookName(const kit::Bundle& bundle) {
    const QVariant name = bundle.objectForInfoDictionaryKey(QLatin1String(kHelpBookNameKey));
    if (name.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return name.toString();
}

void openHelpPage(const QString& bookName, const QString& pagePath,
                  const std::optional<QString>& anchor) {
    help::gotoPage(bookName, pagePath, anchor.value_or(QString()));
}

std::optional<QString> attributeValueAsASCII(const ppd_file_t* ppd, const char* name) {
    const ppd_attr_t* attribute = ppdFindAttr_ALT(ppd, name);
    if (attribute == nullptr || attribute->value == nullptr) {
        return std::nullopt;
    }
    return kit::TextEncoding::stringFromCString(attribute->value, kit::TextEncoding::ASCII);
}

} // namespace

std::optional<QString> CreateEncryptedString(const std::optional<QString>& text,
                                             kit::StringEncoding encoding) {
    if (!text) {
        return std::nullopt;
    }
    WorkBuffer plain{};
    qsizetype plainLength = 0;
    if (kit::TextEncoding::getBytes(*text, encoding, plain.data(), plain.size(), &plainLength) ==
        0) {
        return std::nullopt;
    }
    WorkBuffer scrambled{};
    int32_t scrambledLength = 0;
    if (XspEncrypt(plain.data(), static_cast<int32_t>(plainLength), scrambled.data(),
                   &scrambledLength, kWorkCapacity) != 0) {
        return std::nullopt;
    }
    plain.fill(0);
    int32_t textLength = 0;
    if (XspBinToB64(scrambled.data(), scrambledLength, reinterpret_cast<char*>(plain.data()),
                    &textLength, kWorkCapacity) != 0) {
        return std::nullopt;
    }
    return kit::TextEncoding::stringFromBytes(reinterpret_cast<const char*>(plain.data()),
                                              textLength, kit::TextEncoding::ASCII);
}

std::optional<QString> CreateDecryptedString(const std::optional<QString>& text,
                                             kit::StringEncoding encoding) {
    if (!text) {
        return std::nullopt;
    }
    WorkBuffer base64{};
    qsizetype base64Length = 0;
    if (kit::TextEncoding::getBytes(*text, kit::TextEncoding::ASCII, base64.data(), base64.size(),
                                    &base64Length) == 0) {
        return std::nullopt;
    }
    WorkBuffer scrambled{};
    int32_t scrambledLength = 0;
    if (XspB64ToBin(reinterpret_cast<const char*>(base64.data()),
                    static_cast<int32_t>(base64Length), scrambled.data(), &scrambledLength,
                    kWorkCapacity) != 0) {
        return std::nullopt;
    }
    base64.fill(0);
    int32_t plainLength = 0;
    if (XspEncrypt(scrambled.data(), scrambledLength, base64.data(), &plainLength, kWorkCapacity) !=
        0) {
        return std::nullopt;
    }
    return kit::TextEncoding::stringFromBytes(reinterpret_cast<const char*>(base64.data()),
                                              plainLength, encoding);
}

std::optional<QString> CopyEncodedString(const std::optional<QString>& text,
                                         kit::StringEncoding encoding) {
    if (!text) {
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = kit::TextEncoding::bytesFromString(*text, encoding);
    if (!bytes || bytes->size() > kWorkCapacity) {
        printDiagnostic("CopyEncodedString : CFStringGetCString failed.");
        return std::nullopt;
    }
    if (text->isEmpty() || !needsEscaping(*bytes)) {
        return text;
    }
    const QByteArray encoded = slashDecimalForm(*bytes);
    // A cut form would decode to another text: refuse what does not fit whole.
    if (encoded.size() > static_cast<qsizetype>(kEncodedBufferSize) - 1) {
        printDiagnostic("CopyEncodedString : the encoded form exceeds 1023 characters.");
        return std::nullopt;
    }
    return QString::fromLatin1(encoded);
}

std::optional<QString> CopyDecodedString(const std::optional<QString>& text,
                                         kit::StringEncoding encoding) {
    if (!text) {
        printDiagnostic("CopyDecodedString : an argument is NULL.");
        return std::nullopt;
    }
    if (text->isEmpty() || text->front() != QLatin1Char('/')) {
        return text;
    }
    const std::optional<QByteArray> bytes = kit::TextEncoding::bytesFromString(*text, encoding);
    if (!bytes) {
        printDiagnostic("CopyDecodedString : CFStringGetCString failed.");
        return std::nullopt;
    }
    if (bytes->size() < 2) {
        return kit::TextEncoding::stringFromBytes(bytes->constData(), bytes->size(), encoding);
    }
    const std::optional<QByteArray> decoded = decodeSlashDecimal(*bytes);
    if (!decoded) {
        printDiagnostic("CopyDecodedString : not a slash-decimal form.");
        return std::nullopt;
    }
    return kit::TextEncoding::stringFromBytes(decoded->constData(), decoded->size(), encoding);
}

qsizetype unicharLength(const void* buffer, qsizetype sizeInBytes) {
    if (buffer == nullptr || sizeInBytes < 2) {
        return -1;
    }
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    for (qsizetype i = 0; i < sizeInBytes / 2; ++i) {
        if (bytes[2 * i] == 0 && bytes[2 * i + 1] == 0) {
            return i;
        }
    }
    return -1;
}

int CopyResolvedIPAddress(const char* host, char* output, size_t outputSize) {
    if (host == nullptr || output == nullptr || outputSize == 0) {
        return 1;
    }
    if (isNumericAddress(host)) {
        std::snprintf(output, outputSize, "%s", host);
        return 0;
    }
    const kit::Resolver& resolver = kit::Resolver::current();
    addrinfo* list = nullptr;
    if (resolver.getAddressInfo(host, &list) != 0) {
        printDiagnostic("CopyResolvedIPAddress - getaddrinfo failed.");
        return 1;
    }
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr) {
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
            if (inet_ntop(AF_INET, &address->sin_addr, output, boundedSocklen(outputSize)) !=
                nullptr) {
                break;
            }
            printDiagnostic("CopyResolvedIPAddress - inet_ntop-IPv4 error.");
        } else if (entry->ai_family == AF_INET6 && entry->ai_addr != nullptr) {
            if (writeIPv6Address(*reinterpret_cast<const sockaddr_in6*>(entry->ai_addr), output,
                                 outputSize)) {
                break;
            }
        } else {
            printDiagnostic("CopyResolvedIPAddress - inet_ntop-IPv4 error.");
        }
    }
    resolver.freeAddressInfo(list);
    return 0;
}

void RegisterHelpBook(const std::shared_ptr<kit::Bundle>& bundle) {
    if (!bundle) {
        return;
    }
    help::registerBook(bundle->bundlePath());
}

void GotoHelpPage(const std::shared_ptr<kit::Bundle>& bundle, const QString& pagePath,
                  const std::optional<QString>& anchor) {
    if (!bundle) {
        return;
    }
    if (const std::optional<QString> bookName = helpBookName(*bundle)) {
        openHelpPage(*bookName, pagePath, anchor);
    }
}

void GotoHelpPage2_105(const ppd_file_t* ppd, const char* attributeName,
                       const std::shared_ptr<kit::Bundle>& bundle, const QString& pagePath,
                       const std::optional<QString>& anchor) {
    if (!bundle) {
        return;
    }
    if (const std::optional<QString> key = attributeValueAsASCII(ppd, attributeName)) {
        const QVariant bookName = bundle->objectForInfoDictionaryKey(*key);
        if (bookName.isValid()) {
            if (bookName.typeId() == QMetaType::QString) {
                openHelpPage(bookName.toString(), pagePath, anchor);
            }
            return;
        }
    }
    const QVariant name = bundle->objectForInfoDictionaryKey(QLatin1String(kHelpBookNameKey));
    if (!name.isValid()) {
        return;
    }
    QVariant bookName = name;
    if (name.typeId() == QMetaType::QString) {
        const QVariant named = bundle->objectForInfoDictionaryKey(name.toString());
        if (named.isValid()) {
            bookName = named;
        }
    }
    if (bookName.typeId() == QMetaType::QString) {
        openHelpPage(bookName.toString(), pagePath, anchor);
    }
}

void GotoHelpPage2_106(const ppd_file_t* ppd, const char* attributeName,
                       const std::shared_ptr<kit::Bundle>& bundle, const QString& folder,
                       const std::optional<QString>& pageName,
                       const std::optional<QString>& anchor) {
    if (!bundle || !pageName) {
        return;
    }
    const ppd_attr_t* attribute = ppdFindAttr_ALT(ppd, attributeName);
    const QString pagePath =
        attribute != nullptr && attribute->value != nullptr && attribute->value[0] != '\0'
            ? QStringLiteral("%1/%2").arg(QString::fromUtf8(attribute->value), *pageName)
            : QStringLiteral("%1/%2").arg(folder, *pageName);
    if (const std::optional<QString> bookName = helpBookName(*bundle)) {
        openHelpPage(*bookName, pagePath, anchor);
    }
}

int32_t getOSMinorVersion() {
    int32_t& minorVersion = kit::Environment::minorVersionCache();
    if (minorVersion != -1) {
        return minorVersion;
    }
    const std::optional<QString> release = kit::Environment::kernelRelease();
    if (release) {
        const QByteArray text = release->toLatin1().left(15);
        const long major = std::strtol(text.constData(), nullptr, 10);
        if (major > 0 && major - 4 < INT32_MAX) {
            minorVersion = static_cast<int32_t>(major - 4);
        }
    }
    return minorVersion;
}

std::optional<QString> CopyPPDAttribute(const ppd_file_t* ppd, const char* name) {
    const ppd_attr_t* attribute = ppdFindAttr_ALT(ppd, name);
    if (attribute == nullptr || attribute->value == nullptr) {
        return std::nullopt;
    }
    return kit::TextEncoding::stringFromCString(attribute->value, kit::TextEncoding::UTF8);
}

kit::StringEncoding GetEncodingInfoFromPPD(const ppd_file_t* ppd) {
    const std::optional<QString> value = attributeValueAsASCII(ppd, "TKPrinterLanguageEncoding");
    if (!value) {
        return kDefaultPrinterEncoding;
    }
    if (*value == QLatin1String("UTF-8")) {
        return kit::TextEncoding::UTF8;
    }
    if (*value == QLatin1String("JIS83-RKSJ")) {
        return kit::TextEncoding::ShiftJIS_X0213;
    }
    if (*value == QLatin1String("ISOLatin1")) {
        return kit::TextEncoding::ISOLatin1;
    }
    if (*value == QLatin1String("WindowsANSI")) {
        return kit::TextEncoding::WindowsLatin1;
    }
    return kDefaultPrinterEncoding;
}

bool IsUserAdmin() {
    const std::optional<kit::UserDatabase::User> user =
        kit::UserDatabase::current().userWithId(getuid());
    if (!user) {
        return false;
    }
    return CheckUserGroups(user->name.left(1023).constData(), "admin");
}

bool CheckUserGroups(const char* userName, const char* groupName) {
    if (userName == nullptr || groupName == nullptr) {
        return false;
    }
    const kit::UserDatabase& database = kit::UserDatabase::current();
    const std::optional<kit::UserDatabase::User> user = database.userNamed(userName);
    if (!user) {
        return false;
    }
    bool isMember = false;
    database.walkGroups([&](const kit::UserDatabase::Group& group) {
        if (group.name != groupName) {
            return true;
        }
        if (group.gid == user->gid) {
            isMember = true;
            return false;
        }
        if (group.members.contains(user->name)) {
            isMember = true;
        }
        return true;
    });
    return isMember;
}

} // namespace tarvik_pde_m40vextel
