/* X740_Gate: gateway settings of the X740 controller (access-control list, priority list, TCP
 * and serial settings), carried over an open Portwire link. The two lists are kept in the
 * library between calls: read them from the controller, change items, write them back.
 *
 * Every function is exported under its ordinal (see X740_Gate.exports), in the order below.
 * Results: 1 success, 0 failure. Out-pointers may be null; they are written only on success
 * (the list reads set *count to 0 first). A failure of a request sets this library's own last
 * error (A_X740_MB_GetLastError), with the codes of the other service libraries.
 *
 * Byte and 16-bit fields are given as unsigned values, 32-bit fields as int. The serial
 * settings text travels in a 16-byte field (read: buffer of 16 bytes; written: cut to 15). */
#ifndef X740_GATE_H
#define X740_GATE_H

#include <stdint.h>

#include "portwire/include/Portwire.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 1: this library's last error. */
uint32_t A_X740_MB_GetLastError(void);
/* 2: read the access-control list into the library; *count = its entries (at most 16, and no
 * more than the reply holds). A null count fails without a request. */
uint16_t A_X740_MB_ReadAccessControlList(LinkHandle link, int* count);
/* 3: write the library's access-control list to the controller. */
uint16_t A_X740_MB_WriteAccessControlList(LinkHandle link);
/* 4: empty the library's access-control list; always 1. */
uint16_t A_X740_MB_ClearAccessControlList(void);
/* 5: entry index of the library's access-control list: 1 when 0 <= index < count; otherwise
 * the outputs become 0 and the result is 0. */
uint16_t A_X740_MB_ReadAccessControlItem(int index, int* value1, int* value2, int* flag);
/* 6: set entry index (0..15) of the library's access-control list; the count grows to cover
 * it. Another index gives 0 and changes nothing. */
uint16_t A_X740_MB_WriteAccessControlItem(int index, int value1, int value2, int flag);
/* 7: read the priority list into the library, as ordinal 2. */
uint16_t A_X740_MB_ReadPriorityList(LinkHandle link, int* count);
/* 8: write the library's priority list to the controller. */
uint16_t A_X740_MB_WritePriorityList(LinkHandle link);
/* 9: empty the library's priority list; always 1. */
uint16_t A_X740_MB_ClearPriorityList(void);
/* 10: entry index of the library's priority list, as ordinal 5. */
uint16_t A_X740_MB_ReadPriorityItem(int index, int* value1, int* value2);
/* 11: set entry index of the library's priority list, as ordinal 6. */
uint16_t A_X740_MB_WritePriorityItem(int index, int value1, int value2);
/* 12: TCP settings: v1 (16-bit), v2, v3 (bytes), v4, v5, v6 (32-bit), v7 (byte), v8, v9, v10
 * (32-bit). */
uint16_t A_X740_MB_ReadTCPConfig(LinkHandle link, int* v1, int* v2, int* v3, int* v4, int* v5,
                                 int* v6, int* v7, int* v8, int* v9, int* v10);
/* 13: write the TCP settings. */
uint16_t A_X740_MB_WriteTCPConfig(LinkHandle link, int v1, int v2, int v3, int v4, int v5, int v6,
                                  int v7, int v8, int v9, int v10);
/* 14: serial settings of interface index: text, v1, v2, v3 (32-bit), v4, v5, v6 (bytes), v7,
 * v8, v9 (32-bit). */
uint16_t A_X740_MB_ReadRS232Config(LinkHandle link, int index, char* text, int* v1, int* v2,
                                   int* v3, int* v4, int* v5, int* v6, int* v7, int* v8, int* v9);
/* 15: write the serial settings of interface index (a null text sends an empty field). */
uint16_t A_X740_MB_WriteRS232Config(LinkHandle link, int index, const char* text, int v1, int v2,
                                    int v3, int v4, int v5, int v6, int v7, int v8, int v9);

#ifdef __cplusplus
}
#endif

#endif /* X740_GATE_H */
