/*
 * Password scrambler and Base64 codec.
 *
 * Plain bytes in, plain bytes out: no dependency on anything but the C library, so any program
 * can link against it. Outputs are never NUL-terminated.
 *
 * Result codes of every function:
 *    0  success
 *   -1  a required pointer is missing
 *   -2  a length or capacity is out of range, or the input is malformed
 *   -3  the output capacity is too small (for the Base64 pair, a capacity of 0 is a size query:
 *       the needed size is stored as the produced length)
 */
#ifndef XSPENCLIB_H
#define XSPENCLIB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The scrambling key: four ASCII characters, used as one little-endian 32-bit word. */
extern const char xspkey[4];
/* The standard Base64 alphabet (RFC 4648), without the pad character "=". */
extern const char B64CHR[64];
/* Decode table indexed by character code 0..127: the 6-bit value, or 255 for a non-alphabet code.
 */
extern const unsigned char B64TBL[128];

/* XORs the input with the key (byte i with key character i mod 4). The same call scrambles and
 * unscrambles. On -3 the groups already written stay in the output and are counted. */
int32_t XspEncrypt(const unsigned char* input, int32_t inputLength, unsigned char* output,
                   int32_t* outputLength, int32_t outputCapacity);

/* Encodes the input as padded Base64. On -3 nothing is written and the produced length holds the
 * needed size. */
int32_t XspBinToB64(const unsigned char* input, int32_t inputLength, char* output,
                    int32_t* outputLength, int32_t outputCapacity);

/* Decodes padded Base64; white space between characters is skipped and a NUL ends the text.
 * Any other character outside the alphabet, a pad where data must stand, or a last group of
 * fewer than four characters gives -2 with nothing written. On -3 nothing is written and the
 * produced length holds the exact size that decoding writes. */
int32_t XspB64ToBin(const char* input, int32_t inputLength, unsigned char* output,
                    int32_t* outputLength, int32_t outputCapacity);

#ifdef __cplusplus
}
#endif

#endif /* XSPENCLIB_H */
