// What every online dialog asks of the program: polling and output stepping paused and
// resumed together, the program's link, the program folder and the platform message box.
#pragma once

#include <cstdint>
#include <string>

namespace morvelan {

class IOnlineDialogHost {
public:
    virtual ~IOnlineDialogHost() = default;
    // Polling and output stepping, paused and resumed together.
    virtual void PauseOnline() = 0;
    virtual void ResumeOnline() = 0;
    virtual std::uint32_t Link() = 0;
    // A service library took the link over and hands back what it holds now (0: none).
    virtual void AdoptLink(std::uint32_t link) = 0;
    virtual std::string ProgramDir() = 0;
    // The platform message box (stop icon) owned by the dialog.
    virtual void SystemMessage(const std::string& caption, const std::string& text) = 0;
};

} // namespace morvelan
