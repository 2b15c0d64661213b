#include "morvelan/ui/program_icon.h"

#include "platform/win_path.h"
#include "xui/bitmaps.h"

#include <QPixmap>

namespace morvelan {

std::string ProgramIconFile(const std::string& folder, int size) {
    return mv::joinPath(folder, "icons/morvelan-" + std::to_string(size) + ".png");
}

QIcon LoadProgramIcon(const std::string& folder) {
    QIcon icon;
    for (int size : kProgramIconSizes) {
        const QImage image = xui::readPictureFile(ProgramIconFile(folder, size));
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace morvelan
