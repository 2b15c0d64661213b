// CETypeDlg ("Identification"): reads, writes and deletes the controller's ident code of a
// component and type, and stores or deletes its module ident file. Without the ETYPE setting
// only reading is offered.
#pragma once

#include "xui/xdialog.h"

#include <cstdint>

namespace x740panel {

inline constexpr int kIdentCodeMax = 2048;

class CETypeDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CETypeDlg(QWidget* parent = nullptr);

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;

private:
    // The two IDs from their edits; false (with a message) when one is not a number.
    bool ReadIds(std::uint32_t& component, std::uint32_t& type);
};

} // namespace x740panel
