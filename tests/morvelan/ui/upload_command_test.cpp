// Upload and Saved Configuration against the simulated station, over TCP and over a
// pseudo-terminal standing in for COM1: the dialog gets the mode and sees the upload flag and
// an open link; afterwards the link is released. A port that cannot be opened shows its
// message and no dialog.
#include "tests/morvelan/ui/frame_fixture.h"

#include "morvelan/ui/app_hooks_impl.h"
#include "portwire/include/Portwire.h"
#include "tests/sim/pty_station_server.h"
#include "tests/sim/station.h"
#include "tests/sim/tcp_station_server.h"

namespace frametest {
namespace {

// The address dialog answered: the stored address is taken.
struct AddressTaken : CAppHooks {
    using CAppHooks::CAppHooks;
    bool AskAddress(std::uint32_t&, int&) override {
        ++asked;
        return true;
    }
    int asked = 0;
};

class UploadTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        station_.setModuleIds({0x0301});
        ASSERT_EQ(start(), 1);
        hooks_ = std::make_unique<AddressTaken>(*app_);
        mv::setAppHooks(hooks_.get());
        app_->m_SerInfo = 0;
        dialogSeams().uploadDialog = [this](int mode) {
            Seen s;
            s.mode = mode;
            s.frameFlag = frame().m_UploadFlag;
            s.hookFlag = mv::appHooks().UploadFlag();
            s.link = app_->m_Link;
            s.modules = A_GetNumberOfModules(app_->m_Link);
            seen_.push_back(s);
            return 1;
        };
    }
    void TearDown() override {
        pty_.stop();
        ::unsetenv("PORTWIRE_COM1");
        ::unsetenv("PORTWIRE_COM3");
        FrameTest::TearDown();
        hooks_.reset();
    }
    // After the command the link is gone: its handle answers as unknown.
    bool released(std::uint32_t link) {
        A_GetNumberOfModules(link);
        return A_GetLastError() == 0x100;
    }

    struct Seen {
        int mode = -1, frameFlag = -1, hookFlag = -1;
        std::uint32_t link = 0;
        int modules = -1;
    };
    x740sim::Station station_;
    x740sim::TcpStationServer server_{station_};
    x740sim::PtyStationServer pty_{station_};
    std::unique_ptr<AddressTaken> hooks_;
    std::vector<Seen> seen_;
};

TEST_F(UploadTest, OverTcpBothModes) {
    ASSERT_TRUE(server_.start());
    app_->m_Com = 5;
    app_->m_IpAddress = 0x7F000001;
    app_->m_TcpPort = server_.port();
    ASSERT_TRUE(frame().OnCommand(ID_UPLOAD));
    ASSERT_TRUE(frame().OnCommand(ID_SAVED_CONFIGURATION));
    EXPECT_EQ(frame().Upload(0), 1);
    ASSERT_EQ(seen_.size(), 3u);
    EXPECT_EQ(hooks_->asked, 3) << "TCP/IP asks for the address first";
    for (std::size_t i = 0; i < seen_.size(); ++i) {
        EXPECT_EQ(seen_[i].mode, i == 1 ? 1 : 0);
        EXPECT_EQ(seen_[i].frameFlag, 1);
        EXPECT_EQ(seen_[i].hookFlag, 1);
        EXPECT_NE(seen_[i].link, 0u);
        EXPECT_EQ(seen_[i].modules, 1);
        EXPECT_TRUE(released(seen_[i].link)) << i;
    }
    EXPECT_EQ(frame().m_UploadFlag, 0);
    EXPECT_EQ(mv::appHooks().UploadFlag(), 0);
    EXPECT_EQ(app_->m_LayoutMode, 1);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(UploadTest, OverTheSerialLineOfCom1) {
    ASSERT_TRUE(pty_.start(115200));
    ::setenv("PORTWIRE_COM1", pty_.slavePath().c_str(), 1);
    app_->m_Com = 1;
    EXPECT_EQ(frame().Upload(1), 1);
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0].mode, 1);
    EXPECT_EQ(seen_[0].hookFlag, 1);
    EXPECT_EQ(seen_[0].modules, 1);
    EXPECT_TRUE(released(seen_[0].link));
    EXPECT_EQ(hooks_->asked, 0);
}

TEST_F(UploadTest, RefusedPortShowsItsMessageAndNoDialog) {
    ::setenv("PORTWIRE_COM3", "/nonexistent/tty-for-test", 1);
    app_->m_Com = 3;
    EXPECT_EQ(frame().Upload(0), 0);
    EXPECT_TRUE(seen_.empty());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].line1, "The port cannot be opened") << "language text 5002";
    EXPECT_EQ(frame().m_UploadFlag, 0);
}

} // namespace
} // namespace frametest
