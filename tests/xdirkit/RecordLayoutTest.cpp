#include "xdirkit/XdirKit.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

extern "C" {
extern const size_t kProbeRecordSizes[4];
void probeFillMyFax(XDIRMyFaxRecord* record);
void probeFillMyFaxGroup(XDIRMyFaxGroupRecord* record);
void probeFillFax(XDIRFaxRecord* record);
void probeFillFaxGroup(XDIRFaxGroupRecord* record);
}

namespace {

// One expected little-endian 16-bit or 64-bit value at a byte offset of a record.
struct ByteAt {
    std::size_t offset;
    uint64_t value;
    int width;
};

template <typename Record> std::vector<uint8_t> bytesOf(const Record& record) {
    std::vector<uint8_t> bytes(sizeof(Record));
    std::memcpy(bytes.data(), &record, sizeof(Record));
    return bytes;
}

uint64_t littleEndianAt(const std::vector<uint8_t>& bytes, std::size_t offset, int width) {
    uint64_t value = 0;
    for (int k = width - 1; k >= 0; --k)
        value = (value << 8) | bytes.at(offset + static_cast<std::size_t>(k));
    return value;
}

// Every named byte must hold its value and every other byte must stay 0.
void expectOnly(const std::vector<uint8_t>& bytes, const std::vector<ByteAt>& expected) {
    std::vector<bool> named(bytes.size());
    for (const ByteAt& at : expected) {
        EXPECT_EQ(littleEndianAt(bytes, at.offset, at.width), at.value) << "offset " << at.offset;
        for (int k = 0; k < at.width; ++k)
            named[at.offset + static_cast<std::size_t>(k)] = true;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!named[i]) {
            EXPECT_EQ(bytes[i], 0) << "stray byte at " << i;
        }
    }
}

// ---- Layout as a C program sees it

TEST(RecordLayout, CAndCppAgreeOnTheFourRecordSizes) {
    const std::array<std::size_t, 4> cpp = {sizeof(XDIRMyFaxRecord), sizeof(XDIRMyFaxGroupRecord),
                                            sizeof(XDIRFaxRecord), sizeof(XDIRFaxGroupRecord)};
    const std::array<std::size_t, 4> expected = {960, 144, 176, 472};
    EXPECT_EQ(cpp, expected);
    EXPECT_EQ(std::vector<std::size_t>(kProbeRecordSizes, kProbeRecordSizes + 4),
              std::vector<std::size_t>(expected.begin(), expected.end()));
}

TEST(RecordLayout, FieldsWrittenFromCLandAtTheirByteOffsets) {
    XDIRMyFaxRecord myFax;
    probeFillMyFax(&myFax);
    expectOnly(bytesOf(myFax), {{0, 0x1234, 2},
                                {2, 'N', 2},
                                {68, 'F', 2},
                                {170, 'C', 2},
                                {300, 'T', 2},
                                {816, 0x0102030405060708ULL, 8}});

    XDIRMyFaxGroupRecord myGroup;
    probeFillMyFaxGroup(&myGroup);
    expectOnly(bytesOf(myGroup), {{2, 'G', 2}, {80, 31, 2}, {82, 0xA1A2, 2}, {142, 0xB1B2, 2}});

    XDIRFaxRecord fax;
    probeFillFax(&fax);
    expectOnly(bytesOf(fax), {{0, 0x4321, 2}, {2, 'n', 2}, {168, 'f', 2}});

    XDIRFaxGroupRecord group;
    probeFillFaxGroup(&group);
    expectOnly(bytesOf(group), {{2, 'g', 2}, {68, 201, 2}, {70, 0xC1C2, 2}, {470, 0xD1D2, 2}});
}

// ---- Records through a handle

// A record array as the dialog builds it: raw bytes, record k at byte 960 * k, the whole array
// starting at an odd address.
TEST(RecordLayout, PersonalEntriesAreRead960BytesApartFromAnUnalignedArray) {
    constexpr int kCount = 3;
    std::vector<uint8_t> storage(1 + 960 * kCount, 0);
    uint8_t* records = storage.data() + 1;
    for (int k = 0; k < kCount; ++k) {
        uint8_t* record = records + 960 * k;
        const uint16_t name[] = {static_cast<uint16_t>('A' + k), 0};
        const uint16_t fax[] = {static_cast<uint16_t>('0' + k), 0};
        std::memcpy(record + 2, name, sizeof name);
        std::memcpy(record + 68, fax, sizeof fax);
        const int64_t stamp = 1700000000 + k;
        std::memcpy(record + 816, &stamp, sizeof stamp);
    }
    XDIRDataRef data = XDIRData_Create();
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(XDIRData_Add_MyFax(data, kCount, records), XDIR_OK);
    ASSERT_EQ(XDIRData_GetCount_MyFax(data), kCount);
    for (int k = 0; k < kCount; ++k) {
        std::vector<uint8_t> copy(960, 0xEE);
        ASSERT_EQ(XDIRData_GetAt_MyFax(data, k, copy.data()), XDIR_OK);
        EXPECT_EQ(std::memcmp(copy.data(), records + 960 * k, 960), 0) << "record " << k;
    }
    XDIRData_Delete(data);
}

// Text ends with a zero unit inside its field: a field filled to the last unit is refused.
TEST(RecordLayout, TextFieldsMustEndInsideThemselves) {
    struct Case {
        const char* label;
        std::size_t offset;
        std::size_t units;
        int32_t expected;
    };
    const Case kCases[] = {
        {"name of 32 units", 2, 32, XDIR_OK},
        {"name of 33 units", 2, 33, XDIR_ERR_BAD_RECORD},
        {"fax number of 50 units", 68, 50, XDIR_OK},
        {"fax number of 51 units", 68, 51, XDIR_ERR_BAD_RECORD},
        {"company of 64 units", 170, 64, XDIR_OK},
        {"company of 65 units", 170, 65, XDIR_ERR_BAD_RECORD},
        {"note of 254 units", 300, 254, XDIR_OK},
        {"note of 255 units", 300, 255, XDIR_ERR_BAD_RECORD},
    };
    for (const Case& c : kCases) {
        std::vector<uint8_t> record(960, 0);
        const uint16_t one = '1';
        std::memcpy(&record[2], &one, 2);
        std::memcpy(&record[68], &one, 2);
        for (std::size_t i = 0; i < c.units; ++i)
            std::memcpy(&record[c.offset + 2 * i], &one, 2);
        XDIRDataRef data = XDIRData_Create();
        EXPECT_EQ(XDIRData_Add_MyFax(data, 1, record.data()), c.expected) << c.label;
        EXPECT_EQ(XDIRData_GetCount_MyFax(data), c.expected == XDIR_OK ? 1 : 0) << c.label;
        XDIRData_Delete(data);
    }
}

} // namespace
