/* Fills records through their C field names, so the C++ test can check that a C program puts
 * every field at the byte offset the library reads. */
#include "xdirkit/XdirKit.h"

#include <string.h>

const size_t kProbeRecordSizes[4] = {sizeof(XDIRMyFaxRecord), sizeof(XDIRMyFaxGroupRecord),
                                     sizeof(XDIRFaxRecord), sizeof(XDIRFaxGroupRecord)};

void probeFillMyFax(XDIRMyFaxRecord* record) {
    memset(record, 0, sizeof *record);
    record->identifier = 0x1234;
    record->name[0] = 'N';
    record->faxNumber[0] = 'F';
    record->company[0] = 'C';
    record->note[0] = 'T';
    record->timeStamp = 0x0102030405060708LL;
}

void probeFillMyFaxGroup(XDIRMyFaxGroupRecord* record) {
    memset(record, 0, sizeof *record);
    record->name[0] = 'G';
    record->memberCount = 31;
    record->memberIdentifiers[0] = 0xA1A2;
    record->memberIdentifiers[30] = 0xB1B2;
}

void probeFillFax(XDIRFaxRecord* record) {
    memset(record, 0, sizeof *record);
    record->identifier = 0x4321;
    record->name[0] = 'n';
    record->faxNumber[50] = 'f';
}

void probeFillFaxGroup(XDIRFaxGroupRecord* record) {
    memset(record, 0, sizeof *record);
    record->name[0] = 'g';
    record->memberCount = 201;
    record->memberIdentifiers[0] = 0xC1C2;
    record->memberIdentifiers[200] = 0xD1D2;
}
