// X740_Gate against the simulated controller: the two cached lists, their items and their
// frames, and the TCP and serial settings records.
#include "tests/services/service_fixture.h"

#include "services/include/X740_Gate.h"

namespace svctest {
namespace {

class GateTest : public ServiceStationTest {
protected:
    void SetUp() override {
        ServiceStationTest::SetUp();
        A_X740_MB_ClearAccessControlList();
        A_X740_MB_ClearPriorityList();
    }
};

TEST_F(GateTest, AccessItemsOnAClearedListAndTheirFrame) {
    ASSERT_EQ(A_X740_MB_WriteAccessControlItem(0, 0x0A000001, 0xFFFFFF00, 1), 1);
    ASSERT_EQ(A_X740_MB_WriteAccessControlItem(3, 0x0A000004, 0xFFFFFFFF, 0), 1);
    int v1 = -1, v2 = -1, flag = -1;
    ASSERT_EQ(A_X740_MB_ReadAccessControlItem(1, &v1, &v2, &flag), 1);
    EXPECT_EQ(v1, 0);
    EXPECT_EQ(v2, 0);
    EXPECT_EQ(flag, 0);
    ASSERT_EQ(A_X740_MB_ReadAccessControlItem(3, &v1, &v2, &flag), 1);
    EXPECT_EQ(v1, 0x0A000004);

    ASSERT_EQ(A_X740_MB_WriteAccessControlList(link), 1);
    const Bytes f = lastFrame();
    EXPECT_EQ(f[3], 39);
    EXPECT_EQ(f, request(0x20, cat({{155, 0, 4},
                                    le32(0x0A000001),
                                    le32(0xFFFFFF00),
                                    {1},
                                    Bytes(18, 0),
                                    le32(0x0A000004),
                                    le32(0xFFFFFFFF),
                                    {0}})));
    EXPECT_EQ(controller.record(RecordKind::AccessList).get("count"), 4u);
}

TEST_F(GateTest, ItemIndexesOutsideTheList) {
    EXPECT_EQ(A_X740_MB_WriteAccessControlItem(16, 1, 2, 3), 0);
    EXPECT_EQ(A_X740_MB_WriteAccessControlItem(-1, 1, 2, 3), 0);
    EXPECT_EQ(A_X740_MB_WritePriorityItem(16, 1, 2), 0);
    int v1 = 5, v2 = 5, flag = 5;
    EXPECT_EQ(A_X740_MB_ReadAccessControlItem(0, &v1, &v2, &flag), 0) << "the list is empty";
    EXPECT_EQ(v1, 0);
    EXPECT_EQ(flag, 0);
    ASSERT_EQ(A_X740_MB_WritePriorityItem(1, 7, 8), 1);
    v1 = v2 = 5;
    EXPECT_EQ(A_X740_MB_ReadPriorityItem(2, &v1, &v2), 0);
    EXPECT_EQ(v1, 0);
    EXPECT_EQ(v2, 0);
    EXPECT_EQ(A_X740_MB_ReadPriorityItem(-3, &v1, &v2), 0);
    ASSERT_EQ(A_X740_MB_ReadPriorityItem(1, &v1, &v2), 1);
    EXPECT_EQ(v1, 7);
    EXPECT_EQ(v2, 8);
    EXPECT_EQ(station.frameCount(), 0u) << "items live in the library only";
}

TEST_F(GateTest, ReadListsIntoTheCache) {
    ServiceRecord list(RecordKind::AccessList);
    list.set("count", 2);
    const Bytes entries = cat({le32(1), le32(2), {1}, le32(3), le32(4), {0}});
    list.bytes().insert(list.bytes().end(), entries.begin(), entries.end());
    controller.putRecord(list);
    int count = -1;
    ASSERT_EQ(A_X740_MB_ReadAccessControlList(link, &count), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {155, 0}));
    EXPECT_EQ(count, 2);
    int v1 = 0, v2 = 0, flag = 0;
    ASSERT_EQ(A_X740_MB_ReadAccessControlItem(1, &v1, &v2, &flag), 1);
    EXPECT_EQ(v1, 3);
    EXPECT_EQ(v2, 4);
    EXPECT_EQ(flag, 0);
    ASSERT_EQ(A_X740_MB_ReadAccessControlItem(0, &v1, &v2, &flag), 1);
    EXPECT_EQ(flag, 1);

    ASSERT_EQ(A_X740_MB_WritePriorityItem(0, 11, 12), 1);
    ASSERT_EQ(A_X740_MB_WritePriorityList(link), 1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{156, 0, 1}, le32(11), le32(12)})));
    A_X740_MB_ClearPriorityList();
    ASSERT_EQ(A_X740_MB_ReadPriorityList(link, &count), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {156, 0}));
    EXPECT_EQ(count, 1);
    ASSERT_EQ(A_X740_MB_ReadPriorityItem(0, &v1, &v2), 1);
    EXPECT_EQ(v1, 11);
    EXPECT_EQ(v2, 12);
}

TEST_F(GateTest, ListCountsAboveWhatFitsAreCut) {
    // 20 entries announced and carried: the cache takes 16.
    Bytes reply{155, 0, 20};
    for (int i = 0; i < 20; ++i) {
        const Bytes e = cat({le32(static_cast<std::uint32_t>(i)), le32(100), {1}});
        reply.insert(reply.end(), e.begin(), e.end());
    }
    controller.setReplyData(155, reply);
    int count = 0;
    ASSERT_EQ(A_X740_MB_ReadAccessControlList(link, &count), 1);
    EXPECT_EQ(count, 16);
    int v1 = 0;
    ASSERT_EQ(A_X740_MB_ReadAccessControlItem(15, &v1, nullptr, nullptr), 1);
    EXPECT_EQ(v1, 15);

    // 9 announced, two carried.
    controller.setReplyData(156, cat({{156, 0, 9}, le32(5), le32(6), le32(7), le32(8)}));
    ASSERT_EQ(A_X740_MB_ReadPriorityList(link, &count), 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(A_X740_MB_ReadPriorityItem(2, nullptr, nullptr), 0);

    // A reply too short to hold even the count.
    controller.setReplyData(156, {156, 0});
    ASSERT_EQ(A_X740_MB_ReadPriorityList(link, &count), 1);
    EXPECT_EQ(count, 0);
}

TEST_F(GateTest, ListReadNeedsACountAndSetsItFirst) {
    EXPECT_EQ(A_X740_MB_ReadAccessControlList(link, nullptr), 0);
    EXPECT_EQ(A_X740_MB_ReadPriorityList(link, nullptr), 0);
    EXPECT_EQ(station.frameCount(), 0u);
    ASSERT_EQ(A_X740_MB_WriteAccessControlItem(0, 1, 1, 1), 1);
    controller.setDeviceError(155, 4, 1);
    int count = 9;
    EXPECT_EQ(A_X740_MB_ReadAccessControlList(link, &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(A_X740_MB_ReadAccessControlItem(0, nullptr, nullptr, nullptr), 1)
        << "a failed read keeps the cache";
}

TEST_F(GateTest, TcpSettings) {
    ASSERT_EQ(A_X740_MB_WriteTCPConfig(link, 502, 1, 2, 3000, 4000, -1, 7, 8, 9, 10), 1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{157, 0},
                                              le16(502),
                                              {1, 2},
                                              le32(3000),
                                              le32(4000),
                                              le32(0xFFFFFFFF),
                                              {7},
                                              le32(8),
                                              le32(9),
                                              le32(10)})));
    EXPECT_EQ(lastFrame()[3], 31);
    ServiceRecord tcp = controller.record(RecordKind::TcpConfig);
    EXPECT_EQ(tcp.get("v1"), 502u);
    EXPECT_EQ(tcp.get("v7"), 7u);
    int v[10] = {};
    ASSERT_EQ(A_X740_MB_ReadTCPConfig(link, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7],
                                      &v[8], &v[9]),
              1);
    EXPECT_EQ(lastFrame(), request(0x40, {157, 0}));
    const int want[10] = {502, 1, 2, 3000, 4000, -1, 7, 8, 9, 10};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(v[i], want[i]) << "value " << i + 1;
}

TEST_F(GateTest, SerialSettings) {
    ASSERT_EQ(A_X740_MB_WriteRS232Config(link, 1, "RS232-PORT-TWO-LONG", 19200, 2, 3, 8, 1, 0, 100,
                                         200, 300),
              1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{158, 0, 1},
                                              text("RS232-PORT-TWO-", 16),
                                              le32(19200),
                                              le32(2),
                                              le32(3),
                                              {8, 1, 0},
                                              le32(100),
                                              le32(200),
                                              le32(300)})));
    EXPECT_EQ(lastFrame()[3], 46);
    EXPECT_EQ(controller.record(RecordKind::Rs232Config, 1).text("text"), "RS232-PORT-TWO-");
    char t[16];
    int v[9] = {};
    ASSERT_EQ(A_X740_MB_ReadRS232Config(link, 1, t, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
                                        &v[7], &v[8]),
              1);
    EXPECT_EQ(lastFrame(), request(0x40, {158, 0, 1}));
    EXPECT_STREQ(t, "RS232-PORT-TWO-");
    const int want[9] = {19200, 2, 3, 8, 1, 0, 100, 200, 300};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(v[i], want[i]) << "value " << i + 1;
}

} // namespace
} // namespace svctest
