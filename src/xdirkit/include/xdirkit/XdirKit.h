/*
 * The address-book library: PC address books (vCard files) and the printer's own address book.
 *
 * Plain C interface, usable from C and C++. Strings are UTF-8. A string returned by the library
 * belongs to it and stays valid until the next call of the same function. Every function that
 * answers an int32_t answers a status, 0 for success, unless its comment says otherwise. A bad
 * call (null handle, null record, negative index or count, index past the end, a reserved
 * argument other than 0) answers a status and writes nothing.
 *
 * Statuses:
 *   0x00000000  XDIR_OK                        success
 *   0x20000002  XDIR_ERR_BAD_ARGUMENT          null handle or pointer, negative count, a reserved
 *                                              or flags argument other than 0, unknown selector
 *   0x20000003  XDIR_ERR_WRONG_PASSWORD        the printer refused the password
 *   0x20000004  XDIR_ERR_INDEX_OUT_OF_RANGE    index negative or past the last record
 *   0x20000005  XDIR_ERR_OUT_OF_MEMORY         the handle could not grow
 *   0x20000006  XDIR_ERR_BAD_RECORD            a record handed in has an empty (or blank) or
 *                                              unterminated name, a fax number that is
 *                                              unterminated or holds no digit, an unterminated
 *                                              company or note, or text that is not valid UTF-16
 *   0x20000010  XDIR_ERR_DUPLICATE_ENTRY       an added name and fax number are already in the
 *                                              file; nothing was written
 *   0x20000101  XDIR_ERR_FILE_NOT_FOUND        the address-book file does not exist
 *   0x20000102  XDIR_ERR_FILE_UNREADABLE       the file exists but cannot be opened or read;
 *                                              or, for a change, the file or its folder may be
 *                                              written by another user, or is a dangling link
 *   0x20000103  XDIR_ERR_FILE_MALFORMED        the file is not a vCard address book
 *   0x20000104  XDIR_ERR_TOO_MANY_INDIVIDUALS  the file holds more than 65,535 individuals
 *   0x20000105  XDIR_ERR_WRITE_FAILED          the file could not be written (or is read-only);
 *                                              it is unchanged
 *   0x20000106  XDIR_ERR_LOCK_FAILED           the lock beside the file could not be taken
 *   0x20000107  XDIR_ERR_NO_DIRECTORY          the address-book folder cannot be made or read,
 *                                              or another user may write it
 *   0x21000001  XDIR_DEVICE_READY              XdirDevice_GetStatus: the printer says it is ready
 *   0x21000002  XDIR_DEVICE_BUSY               the printer says it is busy
 *   0x21000003  XDIR_DEVICE_ERROR              the printer reports an error state
 *   0x21000004  XDIR_ERR_DEVICE_UNREACHABLE    no connection to the printer
 *   0x21000005  XDIR_ERR_DEVICE_TIMEOUT        the printer did not answer in time
 *   0x21000006  XDIR_ERR_DEVICE_PROTOCOL       the printer's answer is malformed or unexpected
 *   0x21000007  XDIR_ERR_DEVICE_TOO_LARGE      the printer's answer exceeds the size cap
 *   0x21000008  XDIR_ERR_DEVICE_LOCKED_OUT     the printer locked out after wrong passwords
 *   0x21000009  XDIR_ERR_DEVICE_CHANGED        the printer's book changed since the handle read
 *                                              it; nothing was written
 *   0x2100000A  XDIR_ERR_DEVICE_NOT_SET        no destination printer was set
 *   0x2100000B  XDIR_ERR_DEVICE_REJECTED       the printer refused the written data (full,
 *                                              invalid); its book is unchanged
 *   0x2100000C  XDIR_ERR_DEVICE_CONNECTION_LOST  the connection broke in the middle of the answer
 *   0x2100000D  XDIR_ERR_DEVICE_INVALID_BOOK   the printer's book breaks the protocol's rules
 *                                              (types, ranges, identifiers, members)
 *
 * 0x20000001 and 0x20000008 are never answered: callers use them for their own failures.
 */
#ifndef XDIRKIT_XDIRKIT_H
#define XDIRKIT_XDIRKIT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define XDIR_API __attribute__((visibility("default")))
#else
#define XDIR_API
#endif

#if defined(__cplusplus)
#define XDIR_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define XDIR_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/* ---- Statuses (see the list above) */

#define XDIR_OK 0x00000000
#define XDIR_ERR_BAD_ARGUMENT 0x20000002
#define XDIR_ERR_WRONG_PASSWORD 0x20000003
#define XDIR_ERR_INDEX_OUT_OF_RANGE 0x20000004
#define XDIR_ERR_OUT_OF_MEMORY 0x20000005
#define XDIR_ERR_BAD_RECORD 0x20000006
#define XDIR_ERR_DUPLICATE_ENTRY 0x20000010
#define XDIR_ERR_FILE_NOT_FOUND 0x20000101
#define XDIR_ERR_FILE_UNREADABLE 0x20000102
#define XDIR_ERR_FILE_MALFORMED 0x20000103
#define XDIR_ERR_TOO_MANY_INDIVIDUALS 0x20000104
#define XDIR_ERR_WRITE_FAILED 0x20000105
#define XDIR_ERR_LOCK_FAILED 0x20000106
#define XDIR_ERR_NO_DIRECTORY 0x20000107
#define XDIR_DEVICE_READY 0x21000001
#define XDIR_DEVICE_BUSY 0x21000002
#define XDIR_DEVICE_ERROR 0x21000003
#define XDIR_ERR_DEVICE_UNREACHABLE 0x21000004
#define XDIR_ERR_DEVICE_TIMEOUT 0x21000005
#define XDIR_ERR_DEVICE_PROTOCOL 0x21000006
#define XDIR_ERR_DEVICE_TOO_LARGE 0x21000007
#define XDIR_ERR_DEVICE_LOCKED_OUT 0x21000008
#define XDIR_ERR_DEVICE_CHANGED 0x21000009
#define XDIR_ERR_DEVICE_NOT_SET 0x2100000A
#define XDIR_ERR_DEVICE_REJECTED 0x2100000B
#define XDIR_ERR_DEVICE_CONNECTION_LOST 0x2100000C
#define XDIR_ERR_DEVICE_INVALID_BOOK 0x2100000D

/* ---- Selectors */

/* XdirDevice_SetDestinationDevice kinds: a printer on USB (no address), or at a numeric
 * network address (IPv4, or IPv6 with an optional "%interface" scope). */
#define XDIR_DEVICE_KIND_USB 0
#define XDIR_DEVICE_KIND_NETWORK 1
/* XdirDevice_GetStatus: the printer's readiness. */
#define XDIR_DEVICE_QUERY_STATUS 2048
/* XdirDevice_ReadData / XdirDevice_WriteData: the printer's address book, entries and groups. */
#define XDIR_DEVICE_ADDRESS_BOOK 23

/* XDIRData_GetCount_* answers this for a null handle; a loop up to it runs no times. */
#define XDIR_COUNT_INVALID_HANDLE (-1)

/* ---- Records
 *
 * Text fields are UTF-16 little-endian, ended by a zero unit inside the field; identifiers and
 * counts are unsigned 16-bit. Member identifiers name individuals of the same handle. Bytes
 * named reserved are written 0 and never read. */

#define XDIR_NAME_UNITS 33       /* 32 units of text and the zero unit */
#define XDIR_FAX_NUMBER_UNITS 51 /* 50 + 1 */
#define XDIR_COMPANY_UNITS 65    /* 64 + 1 */
#define XDIR_NOTE_UNITS 255      /* 254 + 1 */
#define XDIR_MY_FAX_GROUP_MEMBERS 31
#define XDIR_FAX_GROUP_MEMBERS 201
#define XDIR_MAX_INDIVIDUALS 65535

/* A personal fax entry: one fax number of a contact of a PC address book. */
typedef struct XDIRMyFaxRecord {
    uint16_t identifier;                       /* 0: 1..65535 when read; 0 when added */
    uint16_t name[XDIR_NAME_UNITS];            /* 2 */
    uint16_t faxNumber[XDIR_FAX_NUMBER_UNITS]; /* 68 */
    uint16_t company[XDIR_COMPANY_UNITS];      /* 170 */
    uint16_t note[XDIR_NOTE_UNITS];            /* 300 */
    uint8_t reserved1[6];                      /* 810 */
    int64_t timeStamp; /* 816: seconds since 1970-01-01 UTC; written by callers, not filled in */
    uint8_t reserved2[136]; /* 824 */
} XDIRMyFaxRecord;

/* A personal fax group: a group of a PC address book. */
typedef struct XDIRMyFaxGroupRecord {
    uint16_t identifier;                                   /* 0: reserved, 0 */
    uint16_t name[XDIR_NAME_UNITS];                        /* 2 */
    uint8_t reserved1[12];                                 /* 68 */
    uint16_t memberCount;                                  /* 80 */
    uint16_t memberIdentifiers[XDIR_MY_FAX_GROUP_MEMBERS]; /* 82 */
} XDIRMyFaxGroupRecord;

/* A device fax entry: one individual of the printer's address book. */
typedef struct XDIRFaxRecord {
    uint16_t identifier;                       /* 0 */
    uint16_t name[XDIR_NAME_UNITS];            /* 2 */
    uint16_t faxNumber[XDIR_FAX_NUMBER_UNITS]; /* 68 */
    uint8_t reserved1[6];                      /* 170 */
} XDIRFaxRecord;

/* A device fax group: a group of the printer's address book. */
typedef struct XDIRFaxGroupRecord {
    uint16_t identifier;                                /* 0: reserved, 0 */
    uint16_t name[XDIR_NAME_UNITS];                     /* 2 */
    uint16_t memberCount;                               /* 68 */
    uint16_t memberIdentifiers[XDIR_FAX_GROUP_MEMBERS]; /* 70 */
} XDIRFaxGroupRecord;

XDIR_STATIC_ASSERT(sizeof(XDIRMyFaxRecord) == 960, "personal fax entry is 960 bytes");
XDIR_STATIC_ASSERT(offsetof(XDIRMyFaxRecord, name) == 2, "name at 2");
XDIR_STATIC_ASSERT(offsetof(XDIRMyFaxRecord, faxNumber) == 68, "fax number at 68");
XDIR_STATIC_ASSERT(offsetof(XDIRMyFaxRecord, company) == 170, "company at 170");
XDIR_STATIC_ASSERT(offsetof(XDIRMyFaxRecord, note) == 300, "note at 300");
XDIR_STATIC_ASSERT(offsetof(XDIRMyFaxRecord, timeStamp) == 816, "time stamp at 816");
XDIR_STATIC_ASSERT(sizeof(XDIRMyFaxGroupRecord) == 144, "personal fax group is 144 bytes");
XDIR_STATIC_ASSERT(offsetof(XDIRMyFaxGroupRecord, name) == 2, "group name at 2");
XDIR_STATIC_ASSERT(offsetof(XDIRMyFaxGroupRecord, memberCount) == 80, "member count at 80");
XDIR_STATIC_ASSERT(offsetof(XDIRMyFaxGroupRecord, memberIdentifiers) == 82, "members at 82");
XDIR_STATIC_ASSERT(sizeof(XDIRFaxRecord) == 176, "device fax entry is 176 bytes");
XDIR_STATIC_ASSERT(offsetof(XDIRFaxRecord, name) == 2, "device name at 2");
XDIR_STATIC_ASSERT(offsetof(XDIRFaxRecord, faxNumber) == 68, "device fax number at 68");
XDIR_STATIC_ASSERT(sizeof(XDIRFaxGroupRecord) == 472, "device fax group is 472 bytes");
XDIR_STATIC_ASSERT(offsetof(XDIRFaxGroupRecord, name) == 2, "device group name at 2");
XDIR_STATIC_ASSERT(offsetof(XDIRFaxGroupRecord, memberCount) == 68, "device count at 68");
XDIR_STATIC_ASSERT(offsetof(XDIRFaxGroupRecord, memberIdentifiers) == 70, "device members at 70");

/* ---- Handles */

/* Entries and groups of one read or of records to add. */
typedef struct XDIRData* XDIRDataRef;

/* Prepares the library; reserved must be 0. */
XDIR_API int32_t Xdir_Initialize(int32_t reserved);

/* A new empty handle, or null when memory is short. Delete it once with XDIRData_Delete. */
XDIR_API XDIRDataRef XDIRData_Create(void);
/* Frees the handle; null is ignored. */
XDIR_API void XDIRData_Delete(XDIRDataRef data);

/* Record counts: stable while the handle is unchanged; XDIR_COUNT_INVALID_HANDLE for null. */
XDIR_API int32_t XDIRData_GetCount_MyFax(XDIRDataRef data);
XDIR_API int32_t XDIRData_GetCount_MyFaxGroup(XDIRDataRef data);
XDIR_API int32_t XDIRData_GetCount_Fax(XDIRDataRef data);
XDIR_API int32_t XDIRData_GetCount_FaxGroup(XDIRDataRef data);

/* Copies record index (from 0) into record, a buffer of the record's full size. */
XDIR_API int32_t XDIRData_GetAt_MyFax(XDIRDataRef data, int32_t index, void* record);
XDIR_API int32_t XDIRData_GetAt_MyFaxGroup(XDIRDataRef data, int32_t index, void* record);
XDIR_API int32_t XDIRData_GetAt_Fax(XDIRDataRef data, int32_t index, void* record);
XDIR_API int32_t XDIRData_GetAt_FaxGroup(XDIRDataRef data, int32_t index, void* record);

/* Copies count personal fax entries (960 bytes apart) into the handle, all or none. */
XDIR_API int32_t XDIRData_Add_MyFax(XDIRDataRef data, int32_t count, const void* records);

/* ---- PC address books */

/* The folder of the address-book files, created (mode 0700) when missing: $VEXTEL_ADDRESS_BOOK_DIR,
 * else $XDG_DATA_HOME/vextel/address-books, else ~/.local/share/vextel/address-books. Null when
 * it cannot be made. */
XDIR_API const char* XdirGADFile_GetFileDirectory(void);
/* The *.vcf files of that folder, sorted by name: each name ended by a NUL, the list ended by an
 * empty name (so an empty folder gives a single NUL). Null when the folder cannot be read. */
XDIR_API const char* XdirGADFile_GetFileList(void);
/* Replaces the handle's personal entries and groups by those of the file; flags must be 0. On
 * failure the handle is left as it was. */
XDIR_API int32_t XdirGADFile_Read(const char* path, XDIRDataRef data, int32_t flags);
/* Appends the handle's personal entries to the file as new cards, creating a missing file;
 * flags must be 0. All or nothing: a duplicate or a failure leaves the file unchanged. */
XDIR_API int32_t XdirGADFile_Add(const char* path, XDIRDataRef data, int32_t flags);

/* ---- The printer's address book */

/* Chooses the printer that the next calls talk to; reserved must be 0. */
XDIR_API int32_t XdirDevice_SetDestinationDevice(int32_t reserved, int32_t kind,
                                                 const char* address);
/* what XDIR_DEVICE_QUERY_STATUS: XDIR_DEVICE_READY, XDIR_DEVICE_BUSY, XDIR_DEVICE_ERROR or a
 * failure status. */
XDIR_API int32_t XdirDevice_GetStatus(int32_t reserved, int32_t what);
/* what XDIR_DEVICE_ADDRESS_BOOK: replaces the handle's device entries and groups by the
 * printer's, and remembers the version of the printer's book that was read. */
XDIR_API int32_t XdirDevice_ReadData(int32_t reserved, XDIRDataRef data, int32_t what,
                                     const char* password);
/* what XDIR_DEVICE_ADDRESS_BOOK: writes the handle's device entries and groups as the printer's
 * whole book; XDIR_ERR_DEVICE_CHANGED when the printer's book is no longer the version the
 * handle read. */
XDIR_API int32_t XdirDevice_WriteData(int32_t reserved, XDIRDataRef data, int32_t what,
                                      const char* password);

#ifdef __cplusplus
}
#endif

#endif /* XDIRKIT_XDIRKIT_H */
