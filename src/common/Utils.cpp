#include "Utils.h"

#include "kit/Environment.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarvik_pde_m40vextel {

namespace {

constexpr int32_t kBaseVersion = 0x1000;

// The kernel release as the platform's 16-byte read gives it: at most 15 characters.
std::optional<QByteArray> kernelReleaseText() {
    const std::optional<QString> release = kit::Environment::kernelRelease();
    if (!release) {
        return std::nullopt;
    }
    return release->toLatin1().left(15);
}

int32_t packedVersionFromKernelRelease() {
    int32_t version = kBaseVersion;
    const std::optional<QByteArray> release = kernelReleaseText();
    if (!release) {
        return version;
    }
    const long major = std::strtol(release->constData(), nullptr, 10);
    if (major > 0) {
        version += static_cast<int32_t>(((major - 4) & 0xFF) * 16);
    }
    if (const char* dot = std::strchr(release->constData(), '.')) {
        const long minor = std::strtol(dot + 1, nullptr, 10);
        if (minor > 0) {
            version += static_cast<int32_t>(minor & 0xF);
        }
    }
    return version;
}

} // namespace

int16_t Gestalt_ALT(uint32_t selector, int32_t* response) {
    int32_t& osVersion = kit::Environment::osVersionCache();
    if (osVersion == -1) {
        osVersion = packedVersionFromKernelRelease();
    }
    const int32_t v = osVersion;
    int32_t answer = 0;
    switch (selector) {
    case gestaltSystemVersionMajor:
        answer = ((v >> 12) & 0xF) * 10 + ((v >> 8) & 0xF);
        break;
    case gestaltSystemVersionMinor:
        answer = (v >> 4) & 0xF;
        break;
    case gestaltSystemVersionBugFix:
        answer = v & 0xF;
        break;
    case gestaltSystemVersion:
        answer = v;
        break;
    default:
        std::fprintf(stderr, "Gestalt_ALT : selector '%x' not supported.\n", selector);
        return -1;
    }
    if (response == nullptr) {
        return -1;
    }
    *response = answer;
    return 0;
}

ppd_attr_t* ppdFindAttr_ALT(const ppd_file_t* ppd, const char* name) {
    if (ppd == nullptr || name == nullptr || name[0] == '\0' || ppd->num_attrs <= 0 ||
        ppd->attrs == nullptr) {
        return nullptr;
    }
    const size_t length = std::strlen(name);
    for (int i = 0; i < ppd->num_attrs; ++i) {
        ppd_attr_t* attribute = ppd->attrs[i];
        if (attribute != nullptr && std::strncmp(attribute->name, name, length) == 0) {
            return attribute;
        }
    }
    return nullptr;
}

} // namespace tarvik_pde_m40vextel
