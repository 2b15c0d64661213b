// The three small value dialogs of a parameter: a choice among named values (template 144), an
// on/off value (146), and a number within limits, decimal or hexadecimal (147). OK stores the
// new value; Cancel leaves it unchanged.
#pragma once

#include "morvelan/core/param_record.h"
#include "morvelan/core/value_entry.h"
#include "xui/xdialog.h"

struct CControllerParam;

namespace xui {
class CColorSelEdit;
class CColorComboBox;
} // namespace xui

class QRadioButton;

namespace morvelan {

// Language texts of the range dialog's messages.
constexpr int kTextBelowMinimum = 5007;
constexpr int kTextAboveMaximum = 5008;

class CChoiceDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CChoiceDlg(CModulParam& param, QWidget* parent = nullptr);
    xui::CColorComboBox* combo() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    CModulParam& m_Param;
};

class CFlagValueDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CFlagValueDlg(CModulParam& param, QWidget* parent = nullptr);
    QRadioButton* radio(int id) const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    CModulParam& m_Param;
};

class CRangeDlg : public xui::CXDialog {
    Q_OBJECT

public:
    // Mode 0: a channel parameter within its limits.
    explicit CRangeDlg(CModulParam& param, QWidget* parent = nullptr);
    // Mode 1: a controller parameter's typed value within its limits or its size's range.
    explicit CRangeDlg(CControllerParam& value, QWidget* parent = nullptr);

    xui::CColorSelEdit* edit() const;
    int mode() const { return m_Mode; }
    ValueLimits limits() const { return m_Limits; }

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    CModulParam* m_Param = nullptr;
    CControllerParam* m_Value = nullptr;
    int m_Mode = 0;
    ValueLimits m_Limits;
};

} // namespace morvelan
