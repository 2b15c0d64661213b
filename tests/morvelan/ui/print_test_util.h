// Shared pieces of the printing tests: printers that the test names, the language table of
// the sample installation, a per-user store of the test's own, and a print session over them.
#pragma once

#include "tests/test_paths.h"
#include "tests/xui/xbase_test_support.h"

#include "morvelan/core/app_state.h"
#include "morvelan/core/label_printer.h"
#include "morvelan/ui/print_session.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "xui/message_dlg.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace printtest {

class FakePrinters : public morvelan::IPrinterSource {
public:
    std::vector<morvelan::PrinterInfo> Enumerate() override { return queues; }
    std::string DefaultName() override { return defaultName; }
    bool Exists(const std::string& name) override { return usable.count(name) > 0; }

    std::vector<morvelan::PrinterInfo> queues;
    std::string defaultName;
    std::set<std::string> usable;
};

// Application hooks with the sample installation's language table.
class Hooks : public mv::PrintingAppHooks {
public:
    explicit Hooks(mv::CLanguage& language) : language_(language) { mv::setAppHooks(this); }
    ~Hooks() override { mv::setAppHooks(nullptr); }
    std::string LanguageText(int number) override { return language_.GetText(number); }

private:
    mv::CLanguage& language_;
};

class Environment {
public:
    Environment() {
        xbase_test::app();
        xbase_test::registerStandInButton();
        char pattern[] = "/tmp/mv_print_XXXXXX";
        dir = ::mkdtemp(pattern);
        ::setenv(mv::kUserStoreEnv, (dir + "/user.reg").c_str(), 1);
        ::unsetenv(morvelan::kPrintPdfEnv);
        app.m_Language.SetProgramDirectory(mvtest::SampleDataDir());
        app.m_Language.Load("English");
        app.m_ProgramDir = mvtest::SampleDataDir();
        app.m_PaperSize = {3, 0, 0};
        app.m_PrintMode = 1;
        auto source = std::make_unique<FakePrinters>();
        printers = source.get();
        printers->queues = {{"Office", "Office laser", "Room 2", "Office"},
                            {"Lab", "Lab printer", "", "Lab"}};
        printers->usable = {"Office", "Lab"};
        session = std::make_unique<morvelan::CPrintSession>(app, std::move(source));
        session->shortDate = [] { return std::string("08.12.26"); };
        session->choosePdfFile = [this] {
            ++chooserCalls;
            return chooserAnswer;
        };
        xui::setMessagePresenter([this](const xui::MessageRequest& r) {
            messages.push_back(r);
            return mv::IDOK;
        });
    }
    ~Environment() {
        xui::setMessagePresenter({});
        ::unsetenv(mv::kUserStoreEnv);
        ::unsetenv(morvelan::kPrintPdfEnv);
        mv::iniClearCache();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    std::string dir;
    CMorvelanAppBase app;
    Hooks hooks{app.m_Language};
    FakePrinters* printers = nullptr;
    std::unique_ptr<morvelan::CPrintSession> session;
    std::vector<xui::MessageRequest> messages;
    std::string chooserAnswer;
    int chooserCalls = 0;
};

} // namespace printtest
