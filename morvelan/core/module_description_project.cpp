// The part of the description record that writes into a project file: it goes through the
// project file writer, which only the main program has.
#include "catalogue/module_description.h"
#include "morvelan/core/app_profile.h"

int CModuleDescription::WriteParameterFileName(int station, int position,
                                               const std::string& projectFile) const {
    const std::string section = "M" + std::to_string(station) + "P" + std::to_string(position);
    WriteProfileText(section, "Filename", m_FileName, projectFile);
    return 1;
}
