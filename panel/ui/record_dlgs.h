// The record editors a log line's record opens (one record of an SSI or NSW data file, edited
// in the file directly) and the encoder offset prompt.
#pragma once

#include "panel/core/log_item.h"
#include "xui/xdialog.h"

#include <string>
#include <vector>

namespace x740panel {

inline constexpr int kSsiDataDlgTemplate = 15032;
inline constexpr int kCamData1DlgTemplate = 15033;
inline constexpr int kCamData2DlgTemplate = 15034;
inline constexpr int kCamData3DlgTemplate = 15035;
inline constexpr int kSsiOffsetDlgTemplate = 15039;
inline constexpr int kRecordEditFirstId = 6000;
inline constexpr int kRecordLabelFirstId = 5000;
inline constexpr const char* kRecordEditChars = "-1234567890";

// Common part: the record, numeric edits, the label painter, "Speichern" and "Cancel".
class CRecordDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CRecordDlg(int templateId, const LogItemRecord& record, int fields, int firstNumeric);
    std::string FieldText(int index) const;
    void SetFieldText(int index, const std::string& text);

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;
    virtual void Load() = 0;
    virtual void Save() = 0;

    LogItemRecord record_;
    int fields_;
    int firstNumeric_;
};

class CSSIDataDlg final : public CRecordDlg {
    Q_OBJECT
public:
    explicit CSSIDataDlg(const LogItemRecord& record);

protected:
    void Load() override;
    void Save() override;
};

class CCamData1Dlg final : public CRecordDlg {
    Q_OBJECT
public:
    explicit CCamData1Dlg(const LogItemRecord& record);

protected:
    void Load() override;
    void Save() override;
};

// Block configuration, or bit configuration (record type 3) with its own labels.
class CCamData2Dlg final : public CRecordDlg {
    Q_OBJECT
public:
    explicit CCamData2Dlg(const LogItemRecord& record);

protected:
    bool OnInitDialog() override;
    void Load() override;
    void Save() override;
};

// One cam line. A nine-field line keeps its trigger mode and delay when saved.
class CCamData3Dlg final : public CRecordDlg {
    Q_OBJECT
public:
    explicit CCamData3Dlg(const LogItemRecord& record);

protected:
    void Load() override;
    void Save() override;

private:
    std::vector<std::string> multiturn_;
};

// "SSI Interface": SSI index and offset, both whole numbers, initially 0.
class CSSIOffsetDlg final : public xui::CXDialog {
    Q_OBJECT
public:
    explicit CSSIOffsetDlg(QWidget* parent = nullptr);
    int m_Index = 0;
    int m_Offset = 0;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;
};

// Opens the editor of the record's type, modally; nothing for a type without one.
void OpenRecordEditorFor(const LogItemRecord& record);

// Registers the templates of the editors and the offset prompt.
void RegisterRecordTemplates();

} // namespace x740panel
