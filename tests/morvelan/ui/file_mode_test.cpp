// Every file the suite writes through a temporary and a rename keeps the mode of the file it
// replaces, and a new one gets what a plain create gives (0666 less the umask).
#include "../core/fixtures/doc_test_util.h"
#include "frame_fixture.h"

#include "morvelan/core/param_data_file.h"
#include "morvelan/ui/printer_device.h"
#include "platform/emf_canvas.h"
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(FileModes, SavesKeepTheModeOfTheFileTheyReplace) {
    frametest::qapp();
    doctest::Install install;
    doctest::Hooks hooks{install};
    mvtest::RecordingHooks app;
    CMorvelanDoc doc;
    doc.AddModuleToGroup(install.MakeTile("CTRL"));
    hooks.selected = doc.Station(0)->Tile(0);
    doc.AddModuleToGroup(install.MakeTile("DIG"));
    const std::string dir = install.dir() + "/";

    morvelan::CPrinterSettings pdf;
    pdf.m_DeviceName = "PDF file";
    pdf.m_Spooler = morvelan::kSpoolerPdf;
    const std::vector<std::pair<std::string, std::function<bool()>>> writers = {
        {dir + "p.mvl", [&] { return doc.OnSaveDocument(dir + "p.mvl") == 1; }},
        {dir + "mask.msk", [&] { return doc.SaveMaskFile() == 1; }},
        {dir + "v.pdt", [&] { return WriteParamDataFile(dir + "v.pdt", "DIG.kvn", {}); }},
        {dir + "r.emf", [&] { return mv::WriteFileReplacing(dir + "r.emf", {1, 2, 3}); }},
        {dir + "s.ini",
         [&] {
             return mv::WritePrivateProfileStringA("A", "b", "c", (dir + "s.ini").c_str()) != 0;
         }},
        {dir + "l.pdf",
         [&] {
             morvelan::CPrinterDevice device(pdf, {2100, 2970}, dir + "l.pdf");
             return device.Open() && device.StartDocument("Labels") && device.StartPage() &&
                    device.EndPage() && device.EndDocument();
         }},
    };
    const mode_t umaskBefore = ::umask(002);
    for (const auto& [path, save] : writers) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(save());
        EXPECT_EQ(ModeOf(path), 0664u);
        for (const mode_t mode : {0644u, 0640u}) {
            ::chmod(path.c_str(), mode);
            mv::iniClearCache();
            ASSERT_TRUE(save());
            EXPECT_EQ(ModeOf(path), mode);
        }
    }
    ::umask(umaskBefore);
}

} // namespace
