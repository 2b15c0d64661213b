/* X740_Logic: IEC 61131 runtime data of the X740 controller (exchange buffer and cam programs),
 * carried over an open Portwire link.
 *
 * Every function is exported under its ordinal (see X740_Logic.exports), in the order below.
 * Results: 1 success, 0 failure. Out-pointers may be null; they are written only on success.
 * A failure of a request sets this library's own last error (A_X740_IEC_GetLastError), with
 * the codes of the other service libraries. */
#ifndef X740_LOGIC_H
#define X740_LOGIC_H

#include <stdint.h>

#include "portwire/include/Portwire.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 1: read the exchange buffer: *len in = room in dest, out = bytes copied. A null dest or len
 * fails without a request. */
uint16_t A_X740_IEC_ReadXIOBuffer(LinkHandle link, uint8_t* dest, uint32_t* len);
/* 2: write len bytes of src to the exchange buffer (more than 253 are cut to 253). A negative
 * len, or a null src with len above 0, fails without a request. */
uint16_t A_X740_IEC_WriteXIOBuffer(LinkHandle link, const uint8_t* src, int len);
/* 3: cam program number: channel (byte), start angle, end angle, start time (16-bit). */
uint16_t A_X740_IEC_ReadNSWProg(LinkHandle link, int number, int* channel, int* start, int* end,
                                int* startTime);
/* 4: write cam program number with channel, start angle, end angle and start time; its other
 * fields are sent as 0. */
uint16_t A_X740_IEC_WriteNSWProg(LinkHandle link, int number, int channel, int start, int end,
                                 int startTime);
/* 5: this library's last error. */
uint32_t A_X740_IEC_GetLastError(void);

#ifdef __cplusplus
}
#endif

#endif /* X740_LOGIC_H */
