// Shared helpers of the module tests: a temporary installation folder with description files,
// and application hooks that record what the model asked for.
#pragma once

#include "morvelan/core/app_hooks.h"
#include "catalogue/module_description.h"
#include "platform/ini_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace mvtest {

// A fresh program folder with a Modul sub-folder, removed at the end.
class TempInstall {
public:
    TempInstall() {
        char pattern[] = "/tmp/mvcore_test_XXXXXX";
        dir_ = ::mkdtemp(pattern);
        std::filesystem::create_directories(dir_ + "/Modul/fertigung");
        ModuleDescriptionContext context;
        context.programDir = dir_;
        context.language = "English";
        setModuleDescriptionContext(context);
    }
    ~TempInstall() {
        mv::iniClearCache();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
        setModuleDescriptionContext(ModuleDescriptionContext{});
    }
    TempInstall(const TempInstall&) = delete;
    TempInstall& operator=(const TempInstall&) = delete;

    const std::string& dir() const { return dir_; }
    // Writes a file below the folder (CR LF line ends) and returns its full path.
    std::string write(const std::string& name, const std::string& text) const {
        const std::string path = dir_ + "/" + name;
        std::ofstream out(path, std::ios::binary);
        for (char c : text) {
            if (c == '\n') {
                out << '\r';
            }
            out << c;
        }
        return path;
    }

private:
    std::string dir_;
};

// Hooks that record messages, warnings and the document calls, with switchable state.
class RecordingHooks : public mv::IAppHooks {
public:
    RecordingHooks() { mv::setAppHooks(this); }
    ~RecordingHooks() override { mv::setAppHooks(nullptr); }
    RecordingHooks(const RecordingHooks&) = delete;
    RecordingHooks& operator=(const RecordingHooks&) = delete;

    std::string LanguageText(int number) override {
        switch (number) {
        case 10009:
            return "TRUE";
        case 10010:
            return "FALSE";
        case 10014:
            return "not read";
        case 5000:
            return "Error";
        case 5002:
            return "COM port error";
        case 5004:
            return "Communication error";
        case 5011:
            return "No answer";
        case 5017:
            return "No network connection";
        default:
            return "???";
        }
    }
    bool IsOnline() override { return online; }
    bool DisplayScaled() override { return scaled; }
    bool DisplayHex() override { return hex; }
    std::uint32_t LinkHandle() override { return link; }
    bool AskAddress(std::uint32_t& ip, int& port) override {
        ++addressAsked;
        if (!addressOk) {
            return false;
        }
        ip = askedIp;
        port = askedPort;
        return true;
    }
    void ShowMessage(const mv::AppMessage& message) override { messages.push_back(message); }
    void DistributeInputs(int station, const std::uint8_t* bytes) override {
        distributed.push_back(station);
        lastInputs.assign(bytes, bytes + 256);
    }
    void SetStationOffline(int station) override { offline.push_back(station); }

    bool online = false;
    bool scaled = true;
    bool hex = false;
    std::uint32_t link = 0;
    bool addressOk = true;
    std::uint32_t askedIp = 0;
    int askedPort = 0;
    int addressAsked = 0;
    std::vector<mv::AppMessage> messages;
    std::vector<int> distributed;
    std::vector<std::uint8_t> lastInputs;
    std::vector<int> offline;
};

} // namespace mvtest
