/* Portwire: links to controllers over serial ports and TCP, and the module-protocol requests
 * that run over them. Plain C interface; every function is exported under its ordinal
 * (see Portwire.exports), in the order below.
 *
 * Results: 1 success / 0 failure unless told otherwise; the open functions return a link
 * handle (never 0) or 0. The reason of the last failure is read with A_GetLastError. */
#ifndef PORTWIRE_H
#define PORTWIRE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A link: 32-bit, non-zero, never reused within a process. */
typedef uint32_t LinkHandle;

/* 1: open COM n with automatic baud search and Read ID (reuses an open link of that COM). */
LinkHandle A_Open(int comNumber);
/* 2: release one reference; the link is closed when none is left. */
void A_Close(LinkHandle link);
/* 3: module count found by the last Read ID; 0 for an unknown handle. */
uint16_t A_GetNumberOfModules(LinkHandle link);
/* 4: module ID at index 0..count (index == count gives 0); 0 otherwise. */
uint16_t A_GetModulID(LinkHandle link, int index);
/* 5: read the controller ID (16-bit little-endian at payload offset 2); 0 on failure. */
uint16_t A_GetControllerID(LinkHandle link);
/* 6: read the inputs into the link's input image. */
uint16_t A_ReadInputs(LinkHandle link);
/* 7: input byte at offset (0 when out of range or unknown handle). */
uint8_t A_GetInputByte(LinkHandle link, int offset);
/* 8: 16-bit little-endian input value at offset (0 when out of range or unknown handle). */
uint16_t A_GetInputWord(LinkHandle link, int offset);
/* 9: 32-bit little-endian input value at offset (0 when out of range or unknown handle). */
uint32_t A_GetInputLong(LinkHandle link, int offset);
/* 10: copy the 256 input bytes of the last read to dest. */
void A_GetInputBuffer(LinkHandle link, uint8_t dest[256]);
/* 11: announce, then set the outputs (len at most 253). */
uint16_t A_SetOutputs(LinkHandle link, int len, const uint8_t* data);
/* 12: stop the fieldbus; 1 when the device answers 0. */
uint16_t A_StopFieldbus(LinkHandle link);
/* 13: start the fieldbus; 1 when the device answers 0. */
uint16_t A_StartFieldbus(LinkHandle link);
/* 14: read the module parameters (payload after its 2-byte head) to dest. */
uint16_t A_ReadModulParameters(LinkHandle link, uint8_t* dest);
/* 15: write module parameters (time-out 5000 ms during the request). */
uint16_t A_WriteModulParameters(LinkHandle link, int len, const uint8_t* data);
/* 16: read a master parameter by function code: whole payload to dest, its length to *len. */
uint16_t A_ReadMasterParameter(LinkHandle link, int code, uint8_t* dest, int unused, uint16_t* len);
/* 17: clear the flash; 1 when the device answers 0. */
uint16_t A_ClearFlash(LinkHandle link);
/* 18: read the module information (payload after its 2-byte head) to dest. */
uint16_t A_ReadModulInfo(LinkHandle link, uint8_t* dest);
/* 19: the last error (16 bits) of the whole library. */
uint16_t A_GetLastError(void);
/* 20: write exactly len raw bytes to the link. */
uint16_t A_Write(LinkHandle link, const uint8_t* buffer, int len);
/* 21: read exactly len raw bytes from the link within its time-out. */
uint16_t A_Read(LinkHandle link, uint8_t* buffer, int len);
/* 22: open a TCP link (IPv4, first octet most significant) with Read ID. */
LinkHandle A_OpenNet(uint32_t ipv4, int tcpPort);
/* 23: as A_Open, showing the "Status" window while searching. */
LinkHandle A_Open2(int comNumber);
/* 24: write the module configuration (time-out 5000 ms during the request). */
uint16_t A_WriteModulConfiguration(LinkHandle link, int len, const uint8_t* data);
/* 25: set the log mode (1 mirrors the traffic of a serial link to the monitor pipe). */
void A_SetLogMode(LinkHandle link, int mode);
/* 26: read the module configuration (after its head) to dest, payload length to *len. */
int32_t A_ReadModulConfiguration(LinkHandle link, uint8_t* len, uint8_t* dest);
/* 27: read the saved module parameters (payload after its 2-byte head) to dest. */
uint16_t A_ReadSavedModulParameters(LinkHandle link, uint8_t* dest);
/* 28: read count bytes of memory at address; dest receives the reply's data (its head and the
   memory bytes) and the checksum byte, at most 256 bytes: dest must have room for 256. */
int32_t A_ReadMemory(LinkHandle link, int count, uint32_t address, uint8_t* dest);
/* 29: store the checksum of buffer[0..len-2] in buffer[len-1]. */
void A_CreateChecksum(LinkHandle link, uint8_t* buffer, int len);
/* 30: 1 when buffer[len-1] is the checksum of buffer[0..len-2]. */
int32_t A_CheckChksum(LinkHandle link, const uint8_t* buffer, int len);
/* 31: open COM n at a fixed baud, without Read ID. */
LinkHandle A_OpenCom(int comNumber, int baud);
/* 32: as A_SetOutputs; the second argument is not used. */
uint16_t A_SetOutputsO(LinkHandle link, int unused, int len, const uint8_t* data);
/* 33: discard the serial receive buffer. */
uint16_t A_PurgeComm(LinkHandle link);
/* 34: open a TCP link without Read ID. */
LinkHandle A_OpenNet_NoReadID(uint32_t ipv4, int tcpPort);
/* 35: open COM n at 115200 baud, without Read ID. */
LinkHandle A_Open_NoReadID(int comNumber);
/* 36: the COM number of the link, else its IPv4 address; 0 for an unknown handle. */
uint32_t A_GetPort(LinkHandle link);
/* 37: set the link time-out in ms; the previous value goes to *old. */
int32_t A_SetComTimout(LinkHandle link, int ms, int* old);
/* 38: write a master parameter by function code (time-out 5000 ms during the request). */
uint16_t A_WriteMasterParameter(LinkHandle link, int code, int len, const uint8_t* data);
/* 39: as A_WriteModulParameters with the caller's time-out in ms. */
uint16_t A_WriteModulParameters_2(LinkHandle link, int len, const uint8_t* data, int timeoutMs);

#ifdef __cplusplus
}
#endif

#endif /* PORTWIRE_H */
