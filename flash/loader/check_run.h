// The check of a running controller: its firmware identification, serial number and the
// files on its FTP server, shown through a sink (the Check window, or the console).
#pragma once

#include <string>

namespace flash {

class CX740FlashApp;

class ICheckSink {
public:
    virtual ~ICheckSink() = default;
    // Appends a line "label\tvalue".
    virtual void AddLine(const std::string& text) = 0;
    virtual void SetStatus(const std::string& text) = 0;
};

// Seconds the controller's FTP server needs after its start.
inline constexpr int kCheckFtpStartWaitMs = 10000;
inline constexpr int kCheckEchoTries = 20;

// The whole check of the controller at the address; ends with the line "END".
void RunCheck(CX740FlashApp& app, const std::string& address, ICheckSink& sink);
// Lists the files of the open FTP session into the sink.
void ListFiles(CX740FlashApp& app, ICheckSink& sink);

// The sink of a program without a display: lines and status texts on the console.
class CConsoleCheckSink final : public ICheckSink {
public:
    void AddLine(const std::string& text) override;
    void SetStatus(const std::string& text) override;
};

} // namespace flash
