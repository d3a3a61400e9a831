#pragma once

// Helpers shared by the fuzz targets.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// A property the target checks besides the sanitizers. A broken one aborts, which libFuzzer and
// the corpus replay both report as a finding, with the input that caused it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

// Code under test reports refused input on standard error, one line each; at thousands of inputs
// a second that buries the fuzzer's own report. This sends the C library's stderr stream (and so
// Qt's messages) to /dev/null. libFuzzer and the sanitizers keep the original stream and file
// descriptor 2, so findings are still reported.
inline void muteLibraryDiagnostics() {
    static const bool muted = [] {
        if (std::FILE* sink = std::fopen("/dev/null", "w")) {
            stderr = sink;
        }
        return true;
    }();
    (void)muted;
}

// Reads the input from the front: a few bytes steer the target, the rest is its data.
class InputReader {
public:
    InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t takeByte() {
        if (size_ == 0) {
            return 0;
        }
        --size_;
        return *data_++;
    }
    uint16_t takeUint16() {
        const uint16_t high = takeByte();
        return static_cast<uint16_t>(high << 8 | takeByte());
    }
    const uint8_t* rest() const { return data_; }
    size_t restSize() const { return size_; }
    std::string restAsString() const {
        return std::string(reinterpret_cast<const char*>(data_), size_);
    }

private:
    const uint8_t* data_;
    size_t size_;
};

} // namespace fuzz
