// The simulated controller's log of the FTP start, reset, firmware update start and NVRAM clear
// requests, and the NVRAM clear taking the stored module configuration.
#include "tests/sim/frame_codec.h"
#include "tests/sim/service_controller.h"
#include "tests/sim/station.h"

#include <gtest/gtest.h>

namespace x740sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

bool Send(ServiceController& services, std::uint8_t direction, std::uint8_t code) {
    Bytes reply;
    std::uint8_t replyDirection = direction;
    bool noReply = false;
    return services.handle(direction, Bytes{code, 0}, reply, replyDirection, noReply);
}

TEST(SimServiceOrder, KeepsTheFourRequestsInArrivalOrder) {
    Station station;
    ServiceController services(station);
    services.putRecord(ServiceRecord(RecordKind::ModulConfig));
    ASSERT_TRUE(Send(services, kDirWrite, 93));
    ASSERT_TRUE(Send(services, kDirWrite, 48));
    ASSERT_TRUE(Send(services, kDirRead, 90)); // other requests are not listed
    ASSERT_TRUE(Send(services, kDirWrite, 49));
    EXPECT_TRUE(services.hasRecord(RecordKind::ModulConfig));
    ASSERT_TRUE(Send(services, kDirWrite, 43));
    ASSERT_TRUE(Send(services, kDirWrite, 49));
    EXPECT_EQ(services.serviceOrder(), (Bytes{93, 48, 49, 43, 49}));
    EXPECT_FALSE(services.hasRecord(RecordKind::ModulConfig));
    EXPECT_EQ(services.requests(49, kDirWrite), 2);

    services.clearServiceOrder();
    EXPECT_TRUE(services.serviceOrder().empty());
    EXPECT_EQ(services.requests(49, kDirWrite), 2);
}

} // namespace
} // namespace x740sim
