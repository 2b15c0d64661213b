// The list of all defined module types (template 173): controllers, boards and picture heads
// of the catalogue, with a button that shows the chosen type's information or documentation
// while the list stays open.
#pragma once

#include "xui/xdialog.h"

class CModuleDescriptionList;

namespace xui {
class XGridCtrl;
}

namespace morvelan {

class CModulListDlg : public xui::CXDialog {
    Q_OBJECT

public:
    // pictureInformation: the application's Doku setting is "JPG" (the module information
    // dialog in place of the documentation).
    CModulListDlg(const CModuleDescriptionList& catalogue, bool pictureInformation,
                  QWidget* parent = nullptr);

    xui::XGridCtrl* grid() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void OnModuleInformation();

    const CModuleDescriptionList& m_Catalogue;
    bool m_PictureInformation;
};

} // namespace morvelan
