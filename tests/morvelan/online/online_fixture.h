// Shared set-up of the online tests: the sample installation with its catalogue, the sample
// project, the simulated station on a loopback port, the application's connection to it, and
// the program's messages answered and recorded.
#pragma once

#include "tests/morvelan/core/fixtures/doc_test_util.h"
#include "tests/sim/station.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"
#include "tests/xui/xbase_test_support.h"

#include "morvelan/core/app_state.h"
#include "morvelan/core/morvelan_doc.h"
#include "xui/message_dlg.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace onlinetest {

using Bytes = std::vector<std::uint8_t>;

// The texts of the language numbers online mode shows.
class LanguageHooks : public mvtest::RecordingHooks {
public:
    std::string LanguageText(int number) override {
        switch (number) {
        case 130: return "Upload";
        case 131: return "Name";
        case 132: return "Type";
        case 133: return "Comment";
        case 134: return "New project";
        case 135: return "Add";
        case 246: return "Write configuration?";
        case 5003: return "Station differs";
        case 5013: return "Unknown module";
        case 10001: return "Cancel";
        case 10002: return "Information";
        case 10013: return "Done";
        default: return mvtest::RecordingHooks::LanguageText(number);
        }
    }
    void DistributeInputs(int station, const std::uint8_t* bytes) override {
        mvtest::RecordingHooks::DistributeInputs(station, bytes);
        if (doc)
            doc->DistributeInputs(station, bytes);
    }
    void SetStationOffline(int station) override {
        mvtest::RecordingHooks::SetStationOffline(station);
        if (const CStation* s = doc ? doc->Station(station) : nullptr) {
            for (int j = 0; j < s->TileCount(); ++j)
                s->Tile(j)->SetOnline(0);
        }
    }
    void SetWaitCursor(bool on) override {
        waitDepth += on ? 1 : -1;
        maxWaitDepth = std::max(maxWaitDepth, waitDepth);
    }

    int OpenOnlineController(const CModuleDescription*, int station, CControllerModule*) override {
        onlineDialogs.push_back(station);
        return 1;
    }

    CMorvelanDoc* doc = nullptr;
    std::vector<int> onlineDialogs;
    int waitDepth = 0;
    int maxWaitDepth = 0;
};

class OnlineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        xbase_test::app();
        // Only the sample catalogue's controller answers to the X740's ID.
        std::filesystem::remove(install.dir() + "/Modul/CTRL.kvn");
        install.Rescan();
        xui::setMessagePresenter([this](const xui::MessageRequest& r) {
            shown.push_back(r);
            if (onMessage)
                onMessage(r);
            if (answers.empty())
                return 1;
            const int a = answers.front();
            answers.pop_front();
            return a;
        });
        ASSERT_TRUE(x740sim::applyPreset(station, "demo"));
        station.setAnimateInputs(false);
        ASSERT_TRUE(server.start(0));
        app.m_Com = kComTcpIp;
        app.m_IpAddress = 0x7F000001u;
        app.m_TcpPort = server.port();
        docHooks.connection = &app;
        hooks.doc = &doc;
        ASSERT_EQ(doc.OnOpenDocument(doctest::SourceDir() + "/data/samples/demo.mvl"), 1);
        station.clearFrameLog();
    }
    void TearDown() override {
        xui::setMessagePresenter({});
        app.CloseConnection();
        server.stop();
        EXPECT_EQ(hooks.waitDepth, 0) << "the wait cursor stayed on";
    }

    // The frames the station received as "R<code>" (read) and "W<code>" (write).
    std::vector<std::string> Transcript() const {
        std::vector<std::string> out;
        for (const Bytes& f : station.frameLog()) {
            if (f.size() > 4)
                out.push_back((f[2] == 0x40 ? "R" : f[2] == 0x20 ? "W" : "?") + std::to_string(f[4]));
        }
        return out;
    }
    // The data of the last frame with a direction and code (after direction and length).
    Bytes LastData(std::uint8_t direction, std::uint8_t code) const {
        const auto log = station.frameLog();
        for (auto it = log.rbegin(); it != log.rend(); ++it) {
            if (it->size() > 5 && (*it)[2] == direction && (*it)[4] == code)
                return Bytes(it->begin() + 4, it->end() - 1);
        }
        return {};
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (const auto& m : shown)
            out.push_back(m.line1);
        return out;
    }
    // Waits (real time, at most 2 s) until the station serves that many connections.
    bool OpenConnections(int count) const {
        for (int i = 0; i < 200; ++i) {
            if (server.connectionsOpen() == count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    doctest::SampleInstall install;
    doctest::Hooks docHooks{install};
    LanguageHooks hooks;
    x740sim::Station station;
    x740sim::TcpStationServer server{station};
    CMorvelanAppBase app;
    CMorvelanDoc doc;
    std::vector<xui::MessageRequest> shown;
    std::deque<int> answers;
    std::function<void(const xui::MessageRequest&)> onMessage;
};

} // namespace onlinetest
