#include "UtilityFunctions.h"
#include "UtilityFunctionsSupport.h"
#include "Utils.h"

namespace tarvik_pde_m40vextel {

namespace {

using utility_detail::attributeValueAsASCII;

constexpr kit::StringEncoding kDefaultPrinterEncoding = kit::TextEncoding::ShiftJIS_X0213;

} // namespace

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

} // namespace tarvik_pde_m40vextel
