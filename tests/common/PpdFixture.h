#pragma once

#include <cups/ppd.h>
#include <memory>
#include <string>

struct PpdCloser {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};
using PpdPtr = std::unique_ptr<ppd_file_t, PpdCloser>;

inline PpdPtr openFixturePpd(const std::string& name) {
    const std::string path = std::string(VEXTEL_SOURCE_DIR) + "/tests/fixtures/ppd/" + name;
    return PpdPtr(ppdOpenFile(path.c_str()));
}
