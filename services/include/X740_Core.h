/* X740_Core: service requests of the X740 controller (system, memory, service configuration,
 * clock, force lists, ident code), carried over an open Portwire link.
 *
 * Every function is exported under its ordinal (see X740_Core.exports), in the order below.
 * Results: 1 success, 0 failure. Out-pointers may be null (that field is not wanted); they are
 * written only when the request succeeded. A failure sets the library's last error, read with
 * A_X740_GetLastError; a later success leaves it in place.
 *
 * Numbers travel little-endian. 16-bit and byte fields are given as unsigned values unless the
 * argument is a signed 16-bit type. Text buffers of a 16-byte field must hold 16 bytes (callers
 * commonly pass 20-byte buffers), of a 32-byte field 32 bytes. Texts read are copied up to the
 * field width minus one and always terminated; texts written are cut to the field width minus
 * one. Reply fields that lie behind the reply's data read as 0. */
#ifndef X740_CORE_H
#define X740_CORE_H

#include <stdint.h>

#include "portwire/include/Portwire.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 1: read count bytes (0..255) of memory at address; dest receives the reply data after its
 * 2-byte head, no more than count bytes (a reply carries at most 253). A negative count fails
 * without a request. */
uint16_t A_X740_ReadMemory(LinkHandle link, uint32_t address, int count, uint8_t* dest);
/* 2: write len bytes of src to memory at address; more than 249 bytes are cut to 249.
 * A negative len, or a null src with len above 0, fails without a request. */
uint16_t A_X740_WriteMemory(LinkHandle link, uint32_t address, int len, const uint8_t* src);
/* 3: read system metrics block index: *len in = room in dest, out = bytes copied.
 * A null len fails without a request. */
uint16_t A_X740_ReadSystemMetrics(LinkHandle link, int index, uint8_t* dest, uint32_t* len);
/* 4: write system metrics block index (1..251 bytes; more are cut to 251). A null src or a len
 * of 0 or below fails without a request. */
uint16_t A_X740_WriteSystemMetrics(LinkHandle link, int index, const uint8_t* src, int len);
/* 5: system information: BCD switch, system bus bytes, number of prints (bytes); RAM size,
 * NVRAM size, flash code, flash device code. */
uint16_t A_X740_ReadSystemInfo(LinkHandle link, uint8_t* bcdSwitch, uint8_t* busBytes,
                               uint8_t* prints, uint32_t* ramSize, uint32_t* nvramSize,
                               uint32_t* flashCode, uint32_t* flashDeviceCode);
/* 6: module information: three zero-terminated texts (firmware name, date, version) taken one
 * after the other from the reply; each buffer must hold 256 bytes. */
uint16_t A_X740_ReadModulInfo(LinkHandle link, char* text1, char* text2, char* text3);
/* 7: status: a (16-bit), b (32-bit). */
uint16_t A_X740_ReadStatus(LinkHandle link, int* a, int* b);
/* 8: timer status: a, b, c (32-bit); t1 and t2 in ms; times[] in ms, at most *count entries
 * (*count is not changed). A null count fails without a request. */
uint16_t A_X740_ReadTimerStatus(LinkHandle link, int* a, int* b, int* c, double* t1, double* t2,
                                double* times, uint32_t* count);
/* 9: as ordinal 8, the maximum values. */
uint16_t A_X740_ReadTimerStatusMax(LinkHandle link, int* a, int* b, int* c, double* t1, double* t2,
                                   double* times, uint32_t* count);
/* 10: module configuration: serial (12-byte buffer: its 8 bytes and four 0 bytes), IP address,
 * subnet mask, gateway (16-byte buffers or larger), DHCP flag. */
uint16_t A_X740_ReadModulConfig(LinkHandle link, char* serial, char* ipAddress, char* subnetMask,
                                char* gateway, int* dhcp);
/* 11: main service: IP port number, time-out, reconnect time-out, idle time-out (16-bit each;
 * -1 for values a short reply does not carry). */
uint16_t A_X740_ReadMainServiceConfig(LinkHandle link, int* portNumber, int* timeout,
                                      int* reconnectTimeout, int* idleTimeout);
/* 12: serial service: port name (16-byte field), a, baud rate, flags (32-bit), time-out
 * (16-bit; -1 when the reply is shorter than 32 bytes). */
uint16_t A_X740_ReadSerServiceConfig(LinkHandle link, char* portName, int* a, int* baudRate,
                                     int* flags, int* timeout);
/* 13: write the module configuration: serial number (up to 8 characters), IP address, subnet
 * mask, gateway (cut to 15 characters; null sends an empty field), DHCP flag. */
uint16_t A_X740_WriteModulConfig(LinkHandle link, const char* serial, const char* ipAddress,
                                 const char* subnetMask, const char* gateway, int dhcp);
/* 14: write the main service configuration (16-bit each). */
uint16_t A_X740_WriteMainServiceConfig(LinkHandle link, int portNumber, int timeout,
                                       int reconnectTimeout, int idleTimeout);
/* 15: write the serial service configuration. */
uint16_t A_X740_WriteSerServiceConfig(LinkHandle link, const char* portName, int a, int baudRate,
                                      int flags, int timeout);
/* 16: forced inputs: *count in = room in first[] and second[], out = entries copied. Nothing is
 * copied when first or second is null. A null count fails without a request. */
uint16_t A_X740_ReadForceInput(LinkHandle link, uint8_t* first, uint8_t* second, uint32_t* count);
/* 17: forced outputs, as ordinal 16. */
uint16_t A_X740_ReadForceOutput(LinkHandle link, uint8_t* first, uint8_t* second, uint32_t* count);
/* 18: write forced inputs: count pairs (more than 126 are cut to 126). A negative count, or a
 * null list with a count above 0, fails without a request. */
uint16_t A_X740_WriteForceInput(LinkHandle link, const uint8_t* first, const uint8_t* second,
                                int count);
/* 19: write forced outputs, as ordinal 18. */
uint16_t A_X740_WriteForceOutput(LinkHandle link, const uint8_t* first, const uint8_t* second,
                                 int count);
/* 20: clear the module configurations. */
uint16_t A_X740_ClearModulConfigs(LinkHandle link);
/* 21: clear the NVRAM. */
uint16_t A_X740_ClearNVRAM(LinkHandle link);
/* 22: start the FTP server: sent only, no reply is read; the last error is not touched. */
uint16_t A_X740_StartFTPServer(LinkHandle link);
/* 23: reset the controller: sent only, as ordinal 22. */
uint16_t A_X740_ResetModul(LinkHandle link);
/* 24: the library's last error: 0, 0x80010001 (not written), 0x80010002 (no reply header),
 * 0x80010003 (no reply body) or 0x80000000 + the device's error byte. */
uint32_t A_X740_GetLastError(void);
/* (ordinal 25 is not used) */
/* 26: digital filter item index: value1, value2 (bytes), word (16-bit). */
uint16_t A_X740_ReadDFMWItem(LinkHandle link, int index, int* value1, int* value2, int* word);
/* 27: digital filter data: *count in = room in values[], lowered to the values there are.
 * A null count fails without a request. */
uint16_t A_X740_ReadDFMWData(LinkHandle link, int16_t* values, uint32_t* count);
/* 28: digital filter inputs: *len in = room in dest, lowered to the bytes there are.
 * A null len fails without a request. */
uint16_t A_X740_ReadDFMWInput(LinkHandle link, uint8_t* dest, uint32_t* len);
/* 29: write digital filter item index. */
uint16_t A_X740_WriteDFMWItem(LinkHandle link, int index, int value1, int value2, int word);
/* 30: system configuration: serial (12-byte buffer, as ordinal 10), text2, text3, FTP user,
 * FTP password, text6 .. text9 (16-byte fields), value10 (32-bit), text11 (32-byte field),
 * text12 (16-byte field). */
uint16_t A_X740_ReadSystemConfig(LinkHandle link, char* serial, char* text2, char* text3,
                                 char* ftpUser, char* ftpPassword, char* text6, char* text7,
                                 char* text8, char* text9, uint32_t* value10, char* text11,
                                 char* text12);
/* 31: write the system configuration; a null text leaves its field 0. */
uint16_t A_X740_WriteSystemConfig(LinkHandle link, const char* serial, const char* text2,
                                  const char* text3, const char* ftpUser, const char* ftpPassword,
                                  const char* text6, const char* text7, const char* text8,
                                  const char* text9, uint32_t value10, const char* text11,
                                  const char* text12);
/* 32: start a firmware update. */
uint16_t A_X740_StartFirmwareUpdate(LinkHandle link);
/* 33: real-time clock date and time: five parts (bytes) and the year (2000 + byte). */
uint16_t A_X740_ReadRTCDateTime(LinkHandle link, int* p1, int* p2, int* p3, int* p4, int* p5,
                                int* year);
/* 34: real-time clock as a 32-bit stamp. */
uint16_t A_X740_ReadRTCTimestamp(LinkHandle link, uint32_t* stamp);
/* 35: set the real-time clock; the year is sent modulo 100. */
uint16_t A_X740_WriteRTCDateTime(LinkHandle link, int p1, int p2, int p3, int p4, int p5, int year);
/* 36: set the real-time clock from a 32-bit stamp. */
uint16_t A_X740_WriteRTCTimestamp(LinkHandle link, uint32_t stamp);
/* 37: sys-log configuration: mode (byte), text (16-byte field), a (16-bit), b (32-bit). */
uint16_t A_X740_ReadSysLogConfig(LinkHandle link, int* mode, char* text, int* a, int* b);
/* 38: write the sys-log configuration. */
uint16_t A_X740_WriteSysLogConfig(LinkHandle link, int mode, const char* text, int a, int b);
/* 39: the same function as ordinal 10. */
uint16_t A_X740_ReadAktModulConfig(LinkHandle link, char* serial, char* ipAddress, char* subnetMask,
                                   char* gateway, int* dhcp);
/* 40: read the ident code of component a, type b into dest (at most destSize-1 bytes, then a
 * 0). A null dest or a destSize below 1 fails without a request. */
uint16_t A_X740_ReadModulIdentCode(LinkHandle link, uint32_t a, uint32_t b, char* dest,
                                   int destSize);
/* 41: write the ident code of component a, type b. A code longer than 245 characters does not
 * fit a frame and fails without a request; a null code is sent as an empty one. */
uint16_t A_X740_WriteModulIdentCode(LinkHandle link, uint32_t a, uint32_t b, const char* code);
/* 42: delete the ident code of component a. */
uint16_t A_X740_DeleteModulIdentCode(LinkHandle link, uint32_t a);
/* 43: delete the module ident file. */
uint16_t A_X740_DeleteModulIdentFile(LinkHandle link);
/* 44: store the module ident file. */
uint16_t A_X740_StoreModulIdentFile(LinkHandle link);

#ifdef __cplusplus
}
#endif

#endif /* X740_CORE_H */
