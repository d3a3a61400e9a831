#include "xspenclib.h"

#include <stddef.h>

const char xspkey[4] = {'q', 'm', 'z', 't'};

const char B64CHR[64] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M',
                         'N', 'O', 'P', 'Q', 'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z',
                         'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm',
                         'n', 'o', 'p', 'q', 'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z',
                         '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '+', '/'};

#define XX 255
const unsigned char B64TBL[128] = {
    XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, /* 0x00 */
    XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, /* 0x10 */
    XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, XX, 62, XX, XX, XX, 63, /* 0x20 */
    52, 53, 54, 55, 56, 57, 58, 59, 60, 61, XX, XX, XX, XX, XX, XX, /* 0x30 */
    XX, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, /* 0x40 */
    15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, XX, XX, XX, XX, XX, /* 0x50 */
    XX, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, /* 0x60 */
    41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, XX, XX, XX, XX, XX, /* 0x70 */
};
#undef XX

enum { XSP_OK = 0, XSP_NULL = -1, XSP_RANGE = -2, XSP_SMALL = -3 };

int32_t XspEncrypt(const unsigned char* input, int32_t inputLength, unsigned char* output,
                   int32_t* outputLength, int32_t outputCapacity) {
    int32_t produced = 0;
    int32_t whole;
    int32_t rest;
    int32_t i;

    if (input == NULL || output == NULL || outputLength == NULL) {
        return XSP_NULL;
    }
    if (inputLength <= 0 || outputCapacity <= 0) {
        return XSP_RANGE;
    }
    *outputLength = 0;
    whole = inputLength - inputLength % 4;
    for (i = 0; i < whole; i += 4) {
        if (outputCapacity - produced < 4) {
            *outputLength = produced;
            return XSP_SMALL;
        }
        output[i] = (unsigned char)(input[i] ^ (unsigned char)xspkey[0]);
        output[i + 1] = (unsigned char)(input[i + 1] ^ (unsigned char)xspkey[1]);
        output[i + 2] = (unsigned char)(input[i + 2] ^ (unsigned char)xspkey[2]);
        output[i + 3] = (unsigned char)(input[i + 3] ^ (unsigned char)xspkey[3]);
        produced += 4;
        *outputLength = produced;
    }
    rest = inputLength - whole;
    if (rest > 0) {
        if (outputCapacity - produced < rest) {
            return XSP_SMALL;
        }
        for (i = 0; i < rest; ++i) {
            output[whole + i] = (unsigned char)(input[whole + i] ^ (unsigned char)xspkey[i]);
        }
        produced += rest;
        *outputLength = produced;
    }
    return XSP_OK;
}

int32_t XspBinToB64(const unsigned char* input, int32_t inputLength, char* output,
                    int32_t* outputLength, int32_t outputCapacity) {
    int64_t needed;
    int32_t in = 0;
    int32_t out = 0;

    if (input == NULL || outputLength == NULL || (output == NULL && outputCapacity != 0)) {
        return XSP_NULL;
    }
    if (inputLength <= 0 || outputCapacity < 0) {
        return XSP_RANGE;
    }
    /* 64-bit on purpose: for inputs near the 32-bit limit the encoded size itself overflows. */
    needed = 4 * ((int64_t)inputLength / 3) + (inputLength % 3 != 0 ? 4 : 0);
    if (needed > INT32_MAX) {
        return XSP_RANGE;
    }
    if (outputCapacity == 0 || outputCapacity < needed) {
        *outputLength = (int32_t)needed;
        return XSP_SMALL;
    }
    for (; inputLength - in >= 3; in += 3) {
        uint32_t group =
            ((uint32_t)input[in] << 16) | ((uint32_t)input[in + 1] << 8) | (uint32_t)input[in + 2];
        output[out++] = B64CHR[(group >> 18) & 0x3F];
        output[out++] = B64CHR[(group >> 12) & 0x3F];
        output[out++] = B64CHR[(group >> 6) & 0x3F];
        output[out++] = B64CHR[group & 0x3F];
    }
    if (inputLength - in == 1) {
        uint32_t group = (uint32_t)input[in] << 16;
        output[out++] = B64CHR[(group >> 18) & 0x3F];
        output[out++] = B64CHR[(group >> 12) & 0x3F];
        output[out++] = '=';
        output[out++] = '=';
    } else if (inputLength - in == 2) {
        uint32_t group = ((uint32_t)input[in] << 16) | ((uint32_t)input[in + 1] << 8);
        output[out++] = B64CHR[(group >> 18) & 0x3F];
        output[out++] = B64CHR[(group >> 12) & 0x3F];
        output[out++] = B64CHR[(group >> 6) & 0x3F];
        output[out++] = '=';
    }
    *outputLength = out;
    return XSP_OK;
}

/* Reading position over the Base64 text. A NUL ends the text like the end of the given length. */
typedef struct {
    const char* text;
    int32_t length;
    int32_t position;
} B64Reader;

enum { B64_MISSING = -1 };

static int isB64Space(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

static int isB64Data(int c) {
    return c >= 0 && c < 128 && B64TBL[c] != 255;
}

static void skipB64Space(B64Reader* reader) {
    while (reader->position < reader->length &&
           isB64Space((unsigned char)reader->text[reader->position])) {
        ++reader->position;
    }
}

static int nextB64Char(B64Reader* reader) {
    unsigned char c;
    if (reader->position >= reader->length) {
        return B64_MISSING;
    }
    c = (unsigned char)reader->text[reader->position];
    if (c == 0) {
        reader->position = reader->length;
        return B64_MISSING;
    }
    ++reader->position;
    skipB64Space(reader);
    return c;
}

static int onlySpaceRemains(B64Reader* reader) {
    return nextB64Char(reader) == B64_MISSING;
}

/* Decodes into output when it is not NULL, else only validates and counts. The caller has made
 * sure the capacity holds the count; the bound is checked again so a miscount cannot overrun. */
static int32_t decodeB64(const char* input, int32_t inputLength, unsigned char* output,
                         int32_t capacity, int32_t* count) {
    B64Reader reader;
    int32_t written = 0;
    int c0, c1, c2, c3;
    unsigned v0, v1, v2, v3;

    reader.text = input;
    reader.length = inputLength;
    reader.position = 0;
    skipB64Space(&reader);

#define EMIT(byteValue)                                                                            \
    do {                                                                                           \
        if (output != NULL) {                                                                      \
            if (written >= capacity) {                                                             \
                return XSP_SMALL;                                                                  \
            }                                                                                      \
            output[written] = (unsigned char)((byteValue)&0xFF);                                   \
        }                                                                                          \
        ++written;                                                                                 \
    } while (0)

    for (;;) {
        c0 = nextB64Char(&reader);
        if (c0 == B64_MISSING) {
            break;
        }
        if (!isB64Data(c0)) {
            return XSP_RANGE;
        }
        /* A group cut short by the end of the text is malformed, never a shorter result. */
        c1 = nextB64Char(&reader);
        if (c1 == B64_MISSING || !isB64Data(c1)) {
            return XSP_RANGE;
        }
        c2 = nextB64Char(&reader);
        if (c2 == B64_MISSING || (c2 != '=' && !isB64Data(c2))) {
            return XSP_RANGE;
        }
        c3 = nextB64Char(&reader);
        if (c3 == B64_MISSING || (c3 != '=' && (c2 == '=' || !isB64Data(c3)))) {
            return XSP_RANGE;
        }
        v0 = B64TBL[c0];
        v1 = B64TBL[c1];
        EMIT((v0 << 2) | (v1 >> 4));
        if (c2 == '=') {
            if (!onlySpaceRemains(&reader)) {
                return XSP_RANGE;
            }
            break;
        }
        v2 = B64TBL[c2];
        EMIT((v1 << 4) | (v2 >> 2));
        if (c3 == '=') {
            if (!onlySpaceRemains(&reader)) {
                return XSP_RANGE;
            }
            break;
        }
        v3 = B64TBL[c3];
        EMIT((v2 << 6) | v3);
    }
#undef EMIT
    *count = written;
    return XSP_OK;
}

int32_t XspB64ToBin(const char* input, int32_t inputLength, unsigned char* output,
                    int32_t* outputLength, int32_t outputCapacity) {
    int32_t needed;
    int32_t decoded = 0;
    int32_t status;

    if (input == NULL || outputLength == NULL || (output == NULL && outputCapacity != 0)) {
        return XSP_NULL;
    }
    if (inputLength <= 0 || outputCapacity < 0 || inputLength % 4 != 0) {
        return XSP_RANGE;
    }
    /* Validate everything before the size answer, so malformed input never writes a byte. */
    status = decodeB64(input, inputLength, NULL, 0, &decoded);
    if (status != XSP_OK) {
        return status;
    }
    /* The validating pass counted exactly what decoding writes. */
    needed = decoded;
    if (outputCapacity == 0 || outputCapacity < needed) {
        *outputLength = needed;
        return XSP_SMALL;
    }
    status = decodeB64(input, inputLength, output, outputCapacity, &decoded);
    if (status != XSP_OK) {
        return status;
    }
    *outputLength = decoded;
    return XSP_OK;
}
