// Fuzz target of the import of the older binary archives: any bytes import or end with a
// message, never a crash, a hang or an allocation beyond what the file could describe.
#include "fuzz_install.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzdoc::Rig& rig = fuzzdoc::rig();
    const std::string path = rig.put("fuzz.prj", data, size);
    CMorvelanDoc doc;
    const int result = doc.ImportV152(path);
    fuzzdoc::check(result == 0 || result == 1);
    // Whatever was imported goes through the project writer (texts with line breaks are
    // refused there with a message).
    if (result == 1 && doc.StationCount() > 0)
        (void)doc.OnSaveDocument(rig.install.dir() + "/imported.mvl");
    return 0;
}
