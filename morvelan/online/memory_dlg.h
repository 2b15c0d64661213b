// CMemoryDlg: a hex dump of controller memory, 80 bytes from a start address in ten lines.
#pragma once

#include "xui/xdialog.h"

#include <cstdint>
#include <string>
#include <vector>

class QListWidget;

namespace morvelan {

constexpr int kMemoryDlgTemplate = 189;
constexpr int kMemStartLabel = 1123;
constexpr int kMemBytesLabel = 1124;
constexpr int kMemStartEdit = 1125;
constexpr int kMemBytesEdit = 1126;
constexpr int kMemList = 1122;
constexpr int kMemReadBytes = 80;

const xui::DialogTemplate& memoryDlgTemplate();

// The ten lines of a dump of 80 bytes read at an address.
std::vector<std::string> MemoryLines(std::uint32_t address, const std::uint8_t* bytes);

class CMemoryDlg : public xui::CXDialog {
    Q_OBJECT

public:
    // `link` gives the link at the time of each read.
    CMemoryDlg(std::uint32_t (*link)(void*), void* context, QWidget* parent = nullptr);

    QListWidget* list() const;
    void OnRead();
    void OnCommandForTest(int id) { OnCommand(id, 0); }

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;

private:
    std::uint32_t (*link_)(void*);
    void* context_;
};

} // namespace morvelan
