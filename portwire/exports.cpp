// The exported C functions: a thin layer over the library object. No exception leaves here.
#include "portwire/include/Portwire.h"

#include <cstring>
#include <memory>
#include <mutex>

#include "portwire/core/frame.h"
#include "portwire/core/portwire_app.h"
#include "portwire/core/portwire_error.h"
#include "portwire/status/status_dlg.h"

using portwire::CPortLink;
using portwire::CPortwireApp;

namespace {

// The library's own object shows the "Status" window of A_Open2 where a QApplication exists.
const bool g_statusWindowHooked = [] {
    portwire::DefaultApp().SetStatusWindowFactory(portwire::MakeStatusWindow);
    return true;
}();

CPortwireApp& App() { return portwire::TheApp(); }

std::shared_ptr<CPortLink> Find(LinkHandle link) { return App().FindLink(link); }

template <typename T, typename F>
T Guard(T failure, F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

template <typename F>
void GuardVoid(F&& body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

bool validCode(int code) { return code >= 0 && code <= 0xFF; }

// Runs op on the link behind the handle, alone on it (another thread's request on the same
// link waits, or is waited for): op's value; `failure` for an unknown handle or an exception.
// The link lives on while op runs, even when another thread closes it meanwhile.
template <typename T, typename F>
T WithLink(LinkHandle link, T failure, F&& op) noexcept {
    return Guard<T>(failure, [&]() -> T {
        const std::shared_ptr<CPortLink> l = Find(link);
        if (!l)
            return failure;
        std::lock_guard<std::mutex> exclusive(l->Exclusive());
        if (!l->IsOpen()) {  // closed by another thread since it was found
            App().SetLastError(portwire::kErrInvalidHandle);
            return failure;
        }
        return op(*l);
    });
}

// 1 when op succeeds on the link; 0 for an unknown handle, a failure or an exception.
template <typename T = uint16_t, typename F>
T OnLink(LinkHandle link, F&& op) noexcept {
    return WithLink<T>(link, 0, [&](CPortLink& l) -> T { return op(l) ? 1 : 0; });
}

// count bytes of the input image from a caller's offset (0..256, after the image's two head
// bytes), least significant first; 0 for an unknown handle or an offset outside.
uint32_t InputValue(LinkHandle link, int offset, int count) {
    return WithLink<uint32_t>(link, 0, [&](CPortLink& l) -> uint32_t {
        if (offset < 0 || offset > 256)
            return 0;
        const size_t at = 2 + static_cast<size_t>(offset);
        uint32_t value = 0;
        for (int i = count - 1; i >= 0; --i)
            value = (value << 8) | l.InputByteAt(at + static_cast<size_t>(i));
        return value;
    });
}

} // namespace

extern "C" {

LinkHandle A_Open(int comNumber) {
    return Guard<LinkHandle>(0, [&] { return App().Open(comNumber); });
}

void A_Close(LinkHandle link) {
    GuardVoid([&] { App().Close(link); });
}

uint16_t A_GetNumberOfModules(LinkHandle link) {
    return WithLink<uint16_t>(link, 0, [](CPortLink& l) { return l.ModuleCount(); });
}

uint16_t A_GetModulID(LinkHandle link, int index) {
    return WithLink<uint16_t>(link, 0, [&](CPortLink& l) { return l.ModuleId(index); });
}

uint16_t A_GetControllerID(LinkHandle link) {
    return WithLink<uint16_t>(link, 0, [](CPortLink& l) { return l.GetControllerID(); });
}

uint16_t A_ReadInputs(LinkHandle link) {
    return OnLink(link, [&](CPortLink& l) { return l.ReadInputs(); });
}

uint8_t A_GetInputByte(LinkHandle link, int offset) {
    return static_cast<uint8_t>(InputValue(link, offset, 1));
}

uint16_t A_GetInputWord(LinkHandle link, int offset) {
    return static_cast<uint16_t>(InputValue(link, offset, 2));
}

uint32_t A_GetInputLong(LinkHandle link, int offset) { return InputValue(link, offset, 4); }

void A_GetInputBuffer(LinkHandle link, uint8_t dest[256]) {
    WithLink<bool>(link, false, [&](CPortLink& l) {
        if (dest)
            std::memcpy(dest, l.InputImage() + 2, 256);
        return true;
    });
}

uint16_t A_SetOutputs(LinkHandle link, int len, const uint8_t* data) {
    return OnLink(link, [&](CPortLink& l) { return l.SetOutputs(len, data); });
}

uint16_t A_StopFieldbus(LinkHandle link) {
    return OnLink(link, [&](CPortLink& l) { return l.Fieldbus(1); });
}

uint16_t A_StartFieldbus(LinkHandle link) {
    return OnLink(link, [&](CPortLink& l) { return l.Fieldbus(2); });
}

uint16_t A_ReadModulParameters(LinkHandle link, uint8_t* dest) {
    return OnLink(link, [&](CPortLink& l) {
        return l.ReadPayloadAfterHead(portwire::kFnModuleParameters, dest, nullptr);
    });
}

uint16_t A_WriteModulParameters(LinkHandle link, int len, const uint8_t* data) {
    return OnLink(link, [&](CPortLink& l) {
        return l.WriteWithData(portwire::kFnSavedModuleParameters, len, data,
                               portwire::kWriteRequestTimeoutMs);
    });
}

uint16_t A_ReadMasterParameter(LinkHandle link, int code, uint8_t* dest, int /*unused*/, uint16_t* len) {
    return OnLink(link, [&](CPortLink& l) {
        return validCode(code) && l.ReadMasterParameter(static_cast<uint8_t>(code), dest, len);
    });
}

uint16_t A_ClearFlash(LinkHandle link) {
    return OnLink(link, [&](CPortLink& l) { return l.ClearFlash(); });
}

uint16_t A_ReadModulInfo(LinkHandle link, uint8_t* dest) {
    return OnLink(link, [&](CPortLink& l) {
        return l.ReadPayloadAfterHead(portwire::kFnModuleInfo, dest, nullptr);
    });
}

uint16_t A_GetLastError(void) { return App().GetLastError(); }

uint16_t A_Write(LinkHandle link, const uint8_t* buffer, int len) {
    return OnLink(link, [&](CPortLink& l) {
        return len >= 0 && (len == 0 || buffer) && l.Write(buffer, static_cast<size_t>(len));
    });
}

uint16_t A_Read(LinkHandle link, uint8_t* buffer, int len) {
    return OnLink(link, [&](CPortLink& l) {
        return len >= 0 && (len == 0 || buffer) && l.Read(buffer, static_cast<size_t>(len));
    });
}

LinkHandle A_OpenNet(uint32_t ipv4, int tcpPort) {
    return Guard<LinkHandle>(0, [&] { return App().OpenNet(ipv4, tcpPort, true); });
}

LinkHandle A_Open2(int comNumber) {
    return Guard<LinkHandle>(0, [&] { return App().Open2(comNumber); });
}

uint16_t A_WriteModulConfiguration(LinkHandle link, int len, const uint8_t* data) {
    return OnLink(link, [&](CPortLink& l) {
        return l.WriteWithData(portwire::kFnModuleConfiguration, len, data,
                               portwire::kWriteRequestTimeoutMs);
    });
}

void A_SetLogMode(LinkHandle link, int mode) {
    WithLink<bool>(link, false, [&](CPortLink& l) {
        l.SetLogMode(mode);
        return true;
    });
}

int32_t A_ReadModulConfiguration(LinkHandle link, uint8_t* len, uint8_t* dest) {
    return OnLink<int32_t>(link, [&](CPortLink& l) {
        size_t n = 0;
        if (!l.ReadPayloadAfterHead(portwire::kFnModuleConfiguration, dest, &n))
            return false;
        if (len)
            *len = static_cast<uint8_t>(n);
        return true;
    });
}

uint16_t A_ReadSavedModulParameters(LinkHandle link, uint8_t* dest) {
    return OnLink(link, [&](CPortLink& l) {
        return l.ReadPayloadAfterHead(portwire::kFnSavedModuleParameters, dest, nullptr);
    });
}

int32_t A_ReadMemory(LinkHandle link, int count, uint32_t address, uint8_t* dest) {
    return OnLink<int32_t>(link, [&](CPortLink& l) { return l.ReadMemory(count, address, dest); });
}

void A_CreateChecksum(LinkHandle link, uint8_t* buffer, int len) {
    if (!Find(link) || !buffer || len < 1)
        return;
    buffer[len - 1] = portwire::FrameChecksum(buffer, static_cast<uint16_t>(len - 1));
}

int32_t A_CheckChksum(LinkHandle link, const uint8_t* buffer, int len) {
    if (!Find(link) || !buffer || len < 1)
        return 0;
    if (buffer[len - 1] != portwire::FrameChecksum(buffer, static_cast<uint16_t>(len - 1))) {
        App().SetLastError(portwire::kErrChecksum);
        return 0;
    }
    return 1;
}

LinkHandle A_OpenCom(int comNumber, int baud) {
    return Guard<LinkHandle>(0, [&] { return App().OpenCom(comNumber, baud); });
}

uint16_t A_SetOutputsO(LinkHandle link, int /*unused*/, int len, const uint8_t* data) {
    return A_SetOutputs(link, len, data);
}

uint16_t A_PurgeComm(LinkHandle link) {
    return OnLink(link, [&](CPortLink& l) { return l.Purge(); });
}

LinkHandle A_OpenNet_NoReadID(uint32_t ipv4, int tcpPort) {
    return Guard<LinkHandle>(0, [&] { return App().OpenNet(ipv4, tcpPort, false); });
}

LinkHandle A_Open_NoReadID(int comNumber) {
    return Guard<LinkHandle>(0, [&] { return App().OpenNoReadID(comNumber); });
}

uint32_t A_GetPort(LinkHandle link) {
    const std::shared_ptr<const CPortLink> l = Find(link);
    if (!l)
        return 0;
    return l->ComNumber() != 0 ? static_cast<uint32_t>(l->ComNumber()) : l->Address();
}

int32_t A_SetComTimout(LinkHandle link, int ms, int* old) {
    return OnLink<int32_t>(link, [&](CPortLink& l) { return l.SetTimeout(ms, old); });
}

uint16_t A_WriteMasterParameter(LinkHandle link, int code, int len, const uint8_t* data) {
    return OnLink(link, [&](CPortLink& l) {
        return validCode(code) && l.WriteWithData(static_cast<uint8_t>(code), len, data,
                                                  portwire::kWriteRequestTimeoutMs);
    });
}

uint16_t A_WriteModulParameters_2(LinkHandle link, int len, const uint8_t* data, int timeoutMs) {
    return OnLink(link, [&](CPortLink& l) {
        return l.WriteWithData(portwire::kFnSavedModuleParameters, len, data, timeoutMs);
    });
}

} // extern "C"
