// Fuzz target of the description readers: any text is read as a description file, and a
// description that is accepted makes a module of its kind read the same file.
#include "fuzz_install.h"

#include "morvelan/core/module.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzdoc::Rig& rig = fuzzdoc::rig();
    rig.put("Modul/FUZZ.kvn", data, size);
    CModuleDescription description;
    description.m_FileName = "FUZZ.kvn";
    if (description.Read(rig.install.dir(), "English") != 1)
        return 0;
    CModuleTile tile;
    tile.Create(&description, rig.install.dir());
    std::uint16_t id = 0;
    std::uint16_t bytes = 0;
    tile.GetInfo(id, bytes);
    fuzzdoc::check(id == description.m_Id);
    return 0;
}
