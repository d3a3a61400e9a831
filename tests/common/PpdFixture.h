#pragma once

#include <cups/ppd.h>
#include <memory>
#include <string>

// The PPD interface of libcups is marked deprecated; tests open their fixture PPDs through it
// because the product reads PPDs opened that way.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

struct PpdCloser {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};
using PpdPtr = std::unique_ptr<ppd_file_t, PpdCloser>;

inline PpdPtr openFixturePpd(const std::string& name) {
    const std::string path = std::string(VEXTEL_SOURCE_DIR) + "/tests/fixtures/ppd/" + name;
    return PpdPtr(ppdOpenFile(path.c_str()));
}

#pragma GCC diagnostic pop
