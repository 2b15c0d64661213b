// CFirmwareInfoDlg: the three firmware texts of the controller (firmware, date, version).
#pragma once

#include "xui/xdialog.h"

#include <string>

namespace morvelan {

constexpr int kFirmwareInfoTemplate = 171;
constexpr int kFwDateEdit = 1050;
constexpr int kFwFirmwareEdit = 1053;
constexpr int kFwVersionEdit = 1051;
constexpr int kFwFirmwareLabel = 1052;
constexpr int kFwDateLabel = 1049;
constexpr int kFwVersionLabel = 1054;
constexpr int kTextFirmwareCaption = 180;
constexpr int kTextFirmwareLabel = 181;
constexpr int kTextDateLabel = 182;
constexpr int kTextVersionLabel = 183;

const xui::DialogTemplate& firmwareInfoTemplate();

class CFirmwareInfoDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CFirmwareInfoDlg(QWidget* parent = nullptr);

    // Bound to edits 1050, 1053 and 1051 (at most 255 characters each).
    std::string m_Text1050;
    std::string m_Text1053;
    std::string m_Text1051;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
};

} // namespace morvelan
