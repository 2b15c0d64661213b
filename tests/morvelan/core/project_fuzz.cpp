// Fuzz target of the project reader: any text opens or is refused, never crashes; a project
// that opened is saved, and the saved file opens to the same stations and tiles.
#include "fuzz_install.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzdoc::Rig& rig = fuzzdoc::rig();
    const std::string path = rig.put("fuzz.mvl", data, size);
    CMorvelanDoc doc;
    if (doc.OnOpenDocument(path) != 1)
        return 0;
    const std::string saved = rig.install.dir() + "/saved.mvl";
    fuzzdoc::check(doc.OnSaveDocument(saved) == 1);
    CMorvelanDoc again;
    fuzzdoc::check(again.OnOpenDocument(saved) == 1);
    fuzzdoc::check(again.StationCount() == doc.StationCount());
    for (int i = 0; i < doc.StationCount(); ++i)
        fuzzdoc::check(again.Station(i)->TileCount() == doc.Station(i)->TileCount());
    (void)doc.SaveMaskFile();
    (void)again.LoadDefaultMaskFile();
    return 0;
}
