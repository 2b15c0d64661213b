// The network echo test the loader waits with until a restarted controller answers: one
// request at a time to one host, then the poll of its answer.
#pragma once

#include <memory>
#include <string>

namespace flash {

class IEchoProbe {
public:
    // Results of Open.
    static constexpr int kOpened = 0;
    static constexpr int kNoSocket = 2;
    // Results of Poll.
    static constexpr int kAnswered = 0;
    static constexpr int kSendFailed = 1;
    static constexpr int kNoAnswer = 2;
    static constexpr int kReceiveFailed = 3;

    virtual ~IEchoProbe() = default;
    // Prepares requests to the host (a dotted address); kOpened or a failure code.
    virtual int Open(const std::string& host) = 0;
    // Sends one request and waits a short time for its answer.
    virtual int Poll() = 0;
};

// The program's echo probe.
std::unique_ptr<IEchoProbe> MakeEchoProbe();

} // namespace flash
