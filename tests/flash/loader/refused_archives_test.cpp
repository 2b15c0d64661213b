// Firmware archives the reader refuses: the run says why, on the console and in the log.
#include "tests/flash/loader/run_program.h"
#include "tests/test_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(RefusedArchives, NameTheReadersReasonOnTheConsoleAndInTheLog) {
    flashtest::ScratchFolder folder;
    // Streamed into the archiver, a member gets ZIP64 records.
    const std::string streamed = "echo firmware | zip -q > '" + folder.file("streamed.zip") + "'";
    ASSERT_EQ(std::system(streamed.c_str()), 0);
    // A small member whose local header announces its sizes in a ZIP64 field.
    const std::string forced = "/usr/bin/python3 -c \"import zipfile,struct,sys\n"
                               "z=zipfile.ZipFile(sys.argv[1],'w')\n"
                               "z.writestr('Firmware-Images/startup.bin',b'x'*100)\n"
                               "z.close()\n"
                               "d=bytearray(open(sys.argv[1],'rb').read())\n"
                               "struct.pack_into('<II',d,18,0xFFFFFFFF,0xFFFFFFFF)\n"
                               "open(sys.argv[1],'wb').write(d)\" '" +
                               folder.file("forced.zip") + "'";
    ASSERT_EQ(std::system(forced.c_str()), 0);

    struct Case {
        const char* archive;
        std::string message;
    };
    for (const Case& c :
         {Case{"streamed.zip", "Open of file failed : ZIP64 archives are not supported"},
          Case{"forced.zip",
               "Error crating data : local header sizes differ from the central directory"},
          Case{"missing.zip", "Open of file failed : No such file or directory"}}) {
        SCOPED_TRACE(c.archive);
        std::remove(folder.file("X740Flash_Log.txt").c_str());
        flashtest::ProgramOptions options;
        options.folder = folder.path();
        options.input = "Y";  // to the caution prompt
        options.env = {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"TMPDIR", folder.path()}};
        const flashtest::ProgramRun run =
            flashtest::RunProgram(mvtest::ProgramDir() + "/X740Flash",
                                  {"-IPC:10.1.2.3", std::string("-F:") + c.archive, "-NOKEY"},
                                  options);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.output.find("Creating data files"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("\nError : " + c.message + "\n"), std::string::npos)
            << run.output;
        const std::string log = folder.read("X740Flash_Log.txt");
        EXPECT_NE(log.find("\nError: " + c.message + "\n"), std::string::npos) << log;
    }
}

} // namespace
