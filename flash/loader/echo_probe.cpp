#include "flash/loader/echo_probe.h"

#include "flash/loader/console_out.h"
#include "flash/loader/ping.h"

namespace flash {

namespace {

// The probe of the program: ICMP echo through CPing. Without a socket the reason and its
// remedy are printed once, and the wait ends.
class CPingProbe final : public IEchoProbe {
public:
    int Open(const std::string& host) override {
        const int result = m_Ping.Ping(host);
        if (result == CPing::kOk) {
            return kOpened;
        }
        if (!m_Ping.Failure().empty()) {
            ConsolePrintf("\n%s", m_Ping.Failure().c_str());
        }
        return kNoSocket;
    }
    int Poll() override {
        switch (m_Ping.Poll()) {
        case CPing::kAnswer:
            return kAnswered;
        case CPing::kSendFailed:
            return kSendFailed;
        case CPing::kTimeout:
            return kNoAnswer;
        default:
            return kReceiveFailed;
        }
    }

private:
    CPing m_Ping;
};

} // namespace

std::unique_ptr<IEchoProbe> MakeEchoProbe() {
    return std::make_unique<CPingProbe>();
}

} // namespace flash
