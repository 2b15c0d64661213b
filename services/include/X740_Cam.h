/* X740_Cam: SSI encoder and cam-switch (NSW) service requests of the X740 controller, carried
 * over an open Portwire link.
 *
 * Every function is exported under its ordinal (see X740_Cam.exports), in the order below.
 * Results: 1 success, 0 failure. Out-pointers may be null; they are written only on success.
 * A failure sets this library's own last error (A_X740_Cam_GetLastError): 0x80010001 (not
 * written), 0x80010002 (no reply header), 0x80010003 (no reply body) or 0x80000000 + the
 * device's error byte; a later success leaves it in place.
 *
 * Byte and 16-bit fields are given as unsigned values, 32-bit fields as int. Cam names travel
 * in a 16-byte field: a name written is cut to 15 characters (null sends an empty name). */
#ifndef X740_CAM_H
#define X740_CAM_H

#include <stdint.h>

#include "portwire/include/Portwire.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 1: SSI setup of interface index: direction (byte), increments, user increments, module
 * index, module offset, preset module index, preset byte offset, preset bit offset, value mask
 * (0x3FFFFFFF when the reply has 35 bytes or fewer), option flags (0 below 40 bytes). */
uint16_t A_X740_Cam_ReadSSISetup(LinkHandle link, int index, int* direction, int* increments,
                                 int* userIncrements, int* modulIdx, int* modulOffset,
                                 int* presetModulIdx, int* presetByteOffset, int* presetBitOffset,
                                 int* valueMask, int* optionsFlag);
/* 2: write the SSI setup of interface index. */
uint16_t A_X740_Cam_WriteSSISetup(LinkHandle link, int index, int direction, int increments,
                                  int userIncrements, int modulIdx, int modulOffset,
                                  int presetModulIdx, int presetByteOffset, int presetBitOffset,
                                  int valueMask, int optionsFlag);
/* 3: encoder offset of SSI interface index (32-bit). */
uint16_t A_X740_Cam_ReadSSIEncoderOffset(LinkHandle link, int index, int* offset);
/* 4: write the encoder offset of SSI interface index. */
uint16_t A_X740_Cam_WriteSSIEncoderOffset(LinkHandle link, int index, int offset);
/* 5: cam-switch SSI setup: SSI index (byte), maximum speed (16-bit). */
uint16_t A_X740_Cam_ReadNSWSetupSSI(LinkHandle link, int* ssiIndex, int* maxSpeed);
/* 6: write the cam-switch SSI setup. */
uint16_t A_X740_Cam_WriteNSWSetupSSI(LinkHandle link, int ssiIndex, int maxSpeed);
/* 7: cam-switch block: module index, byte offset (bytes). */
uint16_t A_X740_Cam_ReadNSWSetupBlock(LinkHandle link, int block, int* module, int* byteOffset);
/* 8: write a cam-switch block. */
uint16_t A_X740_Cam_WriteNSWSetupBlock(LinkHandle link, int block, int module, int byteOffset);
/* 9: cam-switch bit assignment of (index, subindex): the track (byte). */
uint16_t A_X740_Cam_ReadNSWSetupBit(LinkHandle link, int index, int subindex, int* value);
/* 10: write a cam-switch bit assignment. */
uint16_t A_X740_Cam_WriteNSWSetupBit(LinkHandle link, int index, int subindex, int value);
/* 11: cam program number: channel (byte), name (zero-terminated, at most 15 characters; the
 * buffer must hold 16 bytes), start angle, start dead time in ms, end angle, end dead time in
 * ms (16-bit each), type (byte). */
uint16_t A_X740_Cam_ReadNSWProg(LinkHandle link, int number, int* channel, char* name,
                                int* startAngle, int* startDeadTime, int* endAngle,
                                int* endDeadTime, int* type);
/* 12: write cam program number. */
uint16_t A_X740_Cam_WriteNSWProg(LinkHandle link, int number, int channel, const char* name,
                                 int startAngle, int startDeadTime, int endAngle, int endDeadTime,
                                 int type);
/* 13: this library's last error. */
uint32_t A_X740_Cam_GetLastError(void);
/* 14: immediate update on (1) or off (0). Also 1 when this call failed with the device error
 * 254 (the last error is then 0x800000FE). */
uint16_t A_X740_Cam_SetImmediateUpdate(LinkHandle link, int flag);
/* 15: cam program number with its multiturn values: as ordinal 11, but the name receives
 * exactly the 16 bytes of its field, without a terminator added (give a buffer of at least
 * 16 bytes and terminate it yourself); trigger mode and delay (bytes; 0 when the reply is
 * shorter than 32 bytes). */
uint16_t A_X740_Cam_ReadNSWProgMultiturn(LinkHandle link, int number, int* channel, char* name,
                                         int* startAngle, int* startDeadTime, int* endAngle,
                                         int* endDeadTime, int* type, int* triggerMode, int* delay);
/* 16: write cam program number with its multiturn values. */
uint16_t A_X740_Cam_WriteNSWProgMultiturn(LinkHandle link, int number, int channel,
                                          const char* name, int startAngle, int startDeadTime,
                                          int endAngle, int endDeadTime, int type, int triggerMode,
                                          int delay);

#ifdef __cplusplus
}
#endif

#endif /* X740_CAM_H */
