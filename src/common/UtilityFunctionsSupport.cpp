#include "UtilityFunctionsSupport.h"

#include "Utils.h"
#include "kit/TextEncoding.h"

#include <cstdio>

namespace tarvik_pde_m40vextel::utility_detail {

void printDiagnostic(const char* line) {
    std::fputs(line, stderr);
    std::fputc('\n', stderr);
}

std::optional<QString> attributeValueAsASCII(const ppd_file_t* ppd, const char* name) {
    const ppd_attr_t* attribute = ppdFindAttr_ALT(ppd, name);
    if (attribute == nullptr || attribute->value == nullptr) {
        return std::nullopt;
    }
    return kit::TextEncoding::stringFromCString(attribute->value, kit::TextEncoding::ASCII);
}

} // namespace tarvik_pde_m40vextel::utility_detail
