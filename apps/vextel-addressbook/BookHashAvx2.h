#pragma once

#include <cstddef>
#include <cstdint>

namespace vextel_addressbook {

// The 128-bit XXH3 hash compiled for AVX2, twice the speed of the baseline SSE2 on a large book;
// x86 only, for a processor that has AVX2 (BookHash asks first). AVX-512 code is left out on
// purpose: on many Xeons it lowers the core's clock for a while after, slowing the editor's other
// work.
class BookHashAvx2 {
public:
    struct Hash {
        uint64_t low;
        uint64_t high;
    };
    static Hash of(const void* bytes, std::size_t size);
};

} // namespace vextel_addressbook
