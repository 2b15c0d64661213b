// Recording fakes of the FTP client's interfaces.
#pragma once

#include "panel/ftp/ftp_events.h"
#include "panel/ftp/ftp_session.h"

#include <string>
#include <utility>
#include <vector>

namespace ftptest {

struct RecordingLog : ftp::LogSink {
    void AddLine(std::string_view line) override { lines.emplace_back(line); }
    bool Has(const std::string& line) const {
        for (const auto& l : lines) {
            if (l == line)
                return true;
        }
        return false;
    }
    std::vector<std::string> lines;
};

struct RecordingStatus : ftp::TransferStatus {
    void Create() override { events.push_back("create"); }
    void Show() override { events.push_back("show"); }
    void SetLine1(std::string_view t) override { events.push_back("1:" + std::string(t)); }
    void SetLine2(std::string_view t) override { events.push_back("2:" + std::string(t)); }
    void Destroy() override { events.push_back("destroy"); }
    int Count(const std::string& prefix) const {
        int n = 0;
        for (const auto& e : events)
            n += e.rfind(prefix, 0) == 0;
        return n;
    }
    std::vector<std::string> events;
};

struct RecordingObserver : ftp::ClientObserver {
    void StepFailed(ftp::Step step, int error) override { failures.emplace_back(step, error); }
    void StoreStarted(std::string_view local, std::string_view remote) override {
        stores.emplace_back(std::string(local) + " -> " + std::string(remote));
    }
    std::vector<std::pair<ftp::Step, int>> failures;
    std::vector<std::string> stores;
};

// The rows of a listing as their texts.
inline std::vector<std::string> RowTexts(const std::vector<ftp::DirectoryRow>& rows) {
    std::vector<std::string> texts;
    for (const auto& row : rows)
        texts.push_back(row.Text());
    return texts;
}

} // namespace ftptest
