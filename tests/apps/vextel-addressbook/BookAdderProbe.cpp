// A library writer, as the fax dialog adds recipients to a book: adds PREFIX0, PREFIX1, ... (fax
// number 0301) one add at a time, at random intervals, until it is killed. After each add the
// library reported as stored it prints "stored NAME"; after a refused one "failed NAME STATUS".
//   book-adder-probe BOOK PREFIX SEED
#include "RecordText.h"
#include "xdirkit/XdirKit.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: book-adder-probe BOOK PREFIX SEED\n");
        return 2;
    }
    std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)));
    std::uniform_int_distribution<int> pause(5, 60);
    for (int i = 0;; ++i) {
        const std::string name = argv[2] + std::to_string(i);
        XDIRMyFaxRecord record{};
        xdirkit::writeField(record.name, XDIR_NAME_UNITS, std::u16string(name.begin(), name.end()));
        xdirkit::writeField(record.faxNumber, XDIR_FAX_NUMBER_UNITS, u"0301");
        XDIRDataRef data = XDIRData_Create();
        int32_t status = XDIRData_Add_MyFax(data, 1, &record);
        if (status == XDIR_OK) {
            status = XdirGADFile_Add(argv[1], data, 0);
        }
        XDIRData_Delete(data);
        if (status == XDIR_OK) {
            std::printf("stored %s\n", name.c_str());
        } else {
            std::printf("failed %s %08x\n", name.c_str(), static_cast<unsigned>(status));
        }
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
    }
}
