// The program's own icon: one picture in several sizes, PNG files in the program folder's
// icons/ folder. The application's window icon, so every window and dialog shows it.
#pragma once

#include <QIcon>

#include <string>

namespace morvelan {

// The sizes drawn, smallest first; icons/morvelan-<size>.png each.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// The size of the icon static of the About box, as the system draws icons.
inline constexpr int kProgramIconShownSize = 32;

// The file of one size below a program folder.
std::string ProgramIconFile(const std::string& folder, int size);

// The icon from every size file that can be read; a null icon when none can.
QIcon LoadProgramIcon(const std::string& folder);

} // namespace morvelan
