#include "services/core/core_app.h"

#include <cstring>

namespace x740 {

CX740App& CoreApp() {
    static CX740App app;
    return app;
}

void GetSerial(const CX740App& app, int offset, char* dest) {
    if (dest == nullptr) {
        return;
    }
    std::memset(dest, 0, kSerialBuffer);
    for (int i = 0; i < kSerialWidth; ++i) {
        dest[i] = static_cast<char>(app.GetU8(offset + i));
    }
}

void PutSerial(CX740App& app, int offset, const char* serial) {
    if (serial == nullptr) {
        return;
    }
    const auto len = static_cast<int>(::strnlen(serial, kSerialWidth));
    app.PutBytes(offset, reinterpret_cast<const std::uint8_t*>(serial), len);
}

std::uint16_t SimpleRequest(LinkHandle link, std::uint8_t direction, std::uint8_t code) {
    CX740App& app = CoreApp();
    app.Begin(direction, code, 2);
    return app.Transact(link) ? 1 : 0;
}

} // namespace x740
