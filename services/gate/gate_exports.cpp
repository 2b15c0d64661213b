// X740_Gate: gateway lists and settings.
#include <algorithm>

#include "services/gate/gate_app.h"
#include "services/include/X740_Gate.h"

namespace x740 {

CX740GateApp& GateApp() {
    static CX740GateApp app;
    return app;
}

} // namespace x740

using namespace x740;

namespace {

namespace code {
constexpr std::uint8_t kAccessControl = 155;
constexpr std::uint8_t kPriority = 156;
constexpr std::uint8_t kTcpConfig = 157;
constexpr std::uint8_t kRs232Config = 158;
} // namespace code

constexpr int kListHead = 3; // data[2] holds the count, the entries follow
constexpr int kAccessEntrySize = 9;
constexpr int kPriorityEntrySize = 8;
constexpr int kTcpConfigLength = 31;
constexpr int kRs232ConfigLength = 46;
constexpr int kTextWidth = 16;

// Entries the reply announces, no more than the list holds and the reply carries.
int ListCount(const CX740App& app, int entrySize) {
    const int announced = static_cast<int>(app.GetU8(2));
    const int carried = app.ReplyBytesFrom(kListHead) / entrySize;
    return std::min({announced, kGateListSize, carried});
}

// Reads a list from the controller into the kept list; readEntry takes one entry from its offset.
template <typename Entry, typename ReadEntry>
std::uint16_t ReadList(LinkHandle link, std::uint8_t code, GateList<Entry> CX740GateApp::*member,
                       int entrySize, int* count, ReadEntry readEntry) {
    if (count == nullptr) {
        return 0;
    }
    *count = 0;
    CX740GateApp& app = GateApp();
    app.Begin(kDirRead, code, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    auto& list = app.*member;
    list.Clear();
    list.count = ListCount(app, entrySize);
    for (int i = 0; i < list.count; ++i) {
        readEntry(app, kListHead + i * entrySize, list.entries[static_cast<std::size_t>(i)]);
    }
    *count = list.count;
    return 1;
}

// Writes the kept list to the controller; writeEntry puts one entry at its offset.
template <typename Entry, typename WriteEntry>
std::uint16_t WriteList(LinkHandle link, std::uint8_t code, GateList<Entry> CX740GateApp::*member,
                        int entrySize, WriteEntry writeEntry) {
    CX740GateApp& app = GateApp();
    const auto& list = app.*member;
    app.Begin(kDirWrite, code, kListHead + entrySize * list.count);
    app.PutU8(2, static_cast<std::uint32_t>(list.count));
    for (int i = 0; i < list.count; ++i) {
        writeEntry(app, kListHead + i * entrySize, list.entries[static_cast<std::size_t>(i)]);
    }
    return app.Transact(link) ? 1 : 0;
}

// TCP settings record: offsets and widths in argument order.
constexpr int kTcpOffsets[10] = {2, 4, 5, 6, 10, 14, 18, 19, 23, 27};
constexpr int kTcpWidths[10] = {2, 1, 1, 4, 4, 4, 1, 4, 4, 4};
// Serial settings record after the index and the text.
constexpr int kRsOffsets[9] = {19, 23, 27, 31, 32, 33, 34, 38, 42};
constexpr int kRsWidths[9] = {4, 4, 4, 1, 1, 1, 4, 4, 4};

} // namespace

extern "C" {

uint32_t A_X740_MB_GetLastError(void) {
    return GateApp().LastError();
}

uint16_t A_X740_MB_ReadAccessControlList(LinkHandle link, int* count) {
    return ReadList(link, code::kAccessControl, &CX740GateApp::accessControl, kAccessEntrySize,
                    count, [](const CX740App& app, int at, AccessControlEntry& entry) {
                        entry.value1 = app.GetU32(at);
                        entry.value2 = app.GetU32(at + 4);
                        entry.flag = static_cast<std::uint8_t>(app.GetU8(at + 8));
                    });
}

uint16_t A_X740_MB_WriteAccessControlList(LinkHandle link) {
    return WriteList(link, code::kAccessControl, &CX740GateApp::accessControl, kAccessEntrySize,
                     [](CX740App& app, int at, const AccessControlEntry& entry) {
                         app.PutU32(at, entry.value1);
                         app.PutU32(at + 4, entry.value2);
                         app.PutU8(at + 8, entry.flag);
                     });
}

uint16_t A_X740_MB_ClearAccessControlList(void) {
    GateApp().accessControl.Clear();
    return 1;
}

uint16_t A_X740_MB_ReadAccessControlItem(int index, int* value1, int* value2, int* flag) {
    const auto& list = GateApp().accessControl;
    if (!list.Has(index)) {
        Set(value1, 0);
        Set(value2, 0);
        Set(flag, 0);
        return 0;
    }
    const auto& entry = list.entries[static_cast<std::size_t>(index)];
    Set(value1, AsInt(entry.value1));
    Set(value2, AsInt(entry.value2));
    Set(flag, entry.flag);
    return 1;
}

uint16_t A_X740_MB_WriteAccessControlItem(int index, int value1, int value2, int flag) {
    const AccessControlEntry entry{static_cast<std::uint32_t>(value1),
                                   static_cast<std::uint32_t>(value2),
                                   static_cast<std::uint8_t>(flag)};
    return GateApp().accessControl.Set(index, entry) ? 1 : 0;
}

uint16_t A_X740_MB_ReadPriorityList(LinkHandle link, int* count) {
    return ReadList(link, code::kPriority, &CX740GateApp::priority, kPriorityEntrySize, count,
                    [](const CX740App& app, int at, PriorityEntry& entry) {
                        entry.value1 = app.GetU32(at);
                        entry.value2 = app.GetU32(at + 4);
                    });
}

uint16_t A_X740_MB_WritePriorityList(LinkHandle link) {
    return WriteList(link, code::kPriority, &CX740GateApp::priority, kPriorityEntrySize,
                     [](CX740App& app, int at, const PriorityEntry& entry) {
                         app.PutU32(at, entry.value1);
                         app.PutU32(at + 4, entry.value2);
                     });
}

uint16_t A_X740_MB_ClearPriorityList(void) {
    GateApp().priority.Clear();
    return 1;
}

uint16_t A_X740_MB_ReadPriorityItem(int index, int* value1, int* value2) {
    const auto& list = GateApp().priority;
    if (!list.Has(index)) {
        Set(value1, 0);
        Set(value2, 0);
        return 0;
    }
    const auto& entry = list.entries[static_cast<std::size_t>(index)];
    Set(value1, AsInt(entry.value1));
    Set(value2, AsInt(entry.value2));
    return 1;
}

uint16_t A_X740_MB_WritePriorityItem(int index, int value1, int value2) {
    const PriorityEntry entry{static_cast<std::uint32_t>(value1),
                              static_cast<std::uint32_t>(value2)};
    return GateApp().priority.Set(index, entry) ? 1 : 0;
}

uint16_t A_X740_MB_ReadTCPConfig(LinkHandle link, int* v1, int* v2, int* v3, int* v4, int* v5,
                                 int* v6, int* v7, int* v8, int* v9, int* v10) {
    CX740GateApp& app = GateApp();
    app.Begin(kDirRead, code::kTcpConfig, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    int* const outs[10] = {v1, v2, v3, v4, v5, v6, v7, v8, v9, v10};
    for (int i = 0; i < 10; ++i) {
        Set(outs[i], AsInt(app.GetUInt(kTcpOffsets[i], kTcpWidths[i])));
    }
    return 1;
}

uint16_t A_X740_MB_WriteTCPConfig(LinkHandle link, int v1, int v2, int v3, int v4, int v5, int v6,
                                  int v7, int v8, int v9, int v10) {
    CX740GateApp& app = GateApp();
    app.Begin(kDirWrite, code::kTcpConfig, kTcpConfigLength);
    const int values[10] = {v1, v2, v3, v4, v5, v6, v7, v8, v9, v10};
    for (int i = 0; i < 10; ++i) {
        app.PutUInt(kTcpOffsets[i], kTcpWidths[i], static_cast<std::uint32_t>(values[i]));
    }
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_MB_ReadRS232Config(LinkHandle link, int index, char* text, int* v1, int* v2,
                                   int* v3, int* v4, int* v5, int* v6, int* v7, int* v8, int* v9) {
    CX740GateApp& app = GateApp();
    app.Begin(kDirRead, code::kRs232Config, 3);
    app.PutU8(2, static_cast<std::uint32_t>(index));
    if (!app.Transact(link)) {
        return 0;
    }
    app.GetText(3, kTextWidth, text);
    int* const outs[9] = {v1, v2, v3, v4, v5, v6, v7, v8, v9};
    for (int i = 0; i < 9; ++i) {
        Set(outs[i], AsInt(app.GetUInt(kRsOffsets[i], kRsWidths[i])));
    }
    return 1;
}

uint16_t A_X740_MB_WriteRS232Config(LinkHandle link, int index, const char* text, int v1, int v2,
                                    int v3, int v4, int v5, int v6, int v7, int v8, int v9) {
    CX740GateApp& app = GateApp();
    app.Begin(kDirWrite, code::kRs232Config, kRs232ConfigLength);
    app.PutU8(2, static_cast<std::uint32_t>(index));
    app.PutText(3, kTextWidth, text);
    const int values[9] = {v1, v2, v3, v4, v5, v6, v7, v8, v9};
    for (int i = 0; i < 9; ++i) {
        app.PutUInt(kRsOffsets[i], kRsWidths[i], static_cast<std::uint32_t>(values[i]));
    }
    return app.Transact(link) ? 1 : 0;
}

} // extern "C"
