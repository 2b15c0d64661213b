#include "morvelan/ui/main_toolbar.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/command_ids.h"
#include "morvelan/ui/main_frame.h"
#include "xui/bitmaps.h"
#include "xui/colorref.h"
#include "xui/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QToolTip>

namespace {

// Language texts of the tool tips, in the order they are applied.
constexpr int kTipTexts[][2] = {
    {ID_FILE_NEW, 2},       {ID_FILE_OPEN, 3},      {ID_FILE_SAVE, 4},
    {ID_INSERT_CONTROLLER, 27}, {ID_ADD_MODULES, 28}, {ID_UPLOAD, 15},
    {ID_DOWNLOAD, 14},      {ID_DEBUG, 16},         {ID_FIRMWARE_INFO, 18},
    {ID_INSERT_K2270, 31},  {ID_INSERT_K2271, 57},  {ID_INSERT_EMPTY, 54},
    {ID_DELETE_MODULE, 162},
};

// Cuts an image strip into 21-px images with the mask colour made transparent.
std::vector<QPixmap> SliceStrip(const QImage& strip) {
    std::vector<QPixmap> images;
    if (strip.isNull())
        return images;
    QImage argb = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb mask = xui::toQColor(kToolbarMask).rgb();
    for (int y = 0; y < argb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (mask & 0xFFFFFF))
                line[x] = 0;
        }
    }
    for (int x = 0; x + kToolbarImageWidth <= argb.width(); x += kToolbarImageWidth)
        images.push_back(QPixmap::fromImage(argb.copy(x, 0, kToolbarImageWidth, argb.height())));
    return images;
}

} // namespace

std::string ToolTipOfMenuText(const std::string& text) {
    std::string tip;
    for (std::size_t i = 0; i < text.size() && text[i] != '\t'; ++i) {
        // A single '&' marks the next character; "&&" stands for one '&'.
        if (text[i] == '&' && (++i == text.size() || text[i] == '\t'))
            break;
        tip += text[i];
    }
    return tip;
}

const std::vector<ToolbarRow>& toolbarRows() {
    static const std::vector<ToolbarRow> rows = {
        {ID_FILE_NEW, 0},      {ID_FILE_OPEN, 1},     {ID_FILE_SAVE, 2},
        {0, -1},               {ID_INSERT_CONTROLLER, 3}, {ID_ADD_MODULES, 4},
        {ID_INSERT_K2270, 5},  {ID_INSERT_K2271, 6},  {ID_INSERT_EMPTY, 7},
        {ID_DELETE_MODULE, 8}, {0, -1},               {ID_UPLOAD, 9},
        {ID_DOWNLOAD, 10},     {ID_FIRMWARE_INFO, 11}, {ID_DEBUG, 12},
        {0, -1},               {ID_AUTO_ONLINE, 13},  {ID_OUTPUT_STEP, 14},
        {ID_MODULE_CHECK, 15},
    };
    return rows;
}

CMainToolBar::CMainToolBar(CMainFrame& frame) : QToolBar(&frame), frame_(frame) {
    setObjectName(QStringLiteral("toolbar%1").arg(AFX_IDW_TOOLBAR, 0, 16));
    setMovable(false);
    setFloatable(false);
}

bool CMainToolBar::Create(int rows) {
    const std::vector<QPixmap> normal = SliceStrip(xui::bitmapResource(IDB_TOOLBAR));
    const std::vector<QPixmap> hot = SliceStrip(xui::bitmapResource(IDB_TOOLBAR_HOT));
    imageHeight_ = normal.empty() ? 15 : normal.front().height();
    setIconSize(QSize(kToolbarImageWidth, imageHeight_));
    const auto& table = toolbarRows();
    for (int i = 0; i < rows && i < static_cast<int>(table.size()); ++i) {
        const ToolbarRow& row = table[static_cast<std::size_t>(i)];
        buttons_.push_back(row.command);
        if (row.command == 0) {
            addSeparator();
            continue;
        }
        QAction* action = frame_.MakeAction(row.command, QString());
        QIcon icon;
        if (row.image >= 0 && row.image < static_cast<int>(normal.size()))
            icon.addPixmap(normal[static_cast<std::size_t>(row.image)], QIcon::Normal);
        if (row.image >= 0 && row.image < static_cast<int>(hot.size()))
            icon.addPixmap(hot[static_cast<std::size_t>(row.image)], QIcon::Active);
        action->setIcon(icon);
        addAction(action);
        if (QWidget* button = widgetForAction(action)) {
            button->setObjectName(QStringLiteral("button%1").arg(row.command));
            button->setFixedSize(kToolbarImageWidth + kToolbarMargin,
                                 imageHeight_ + kToolbarMargin);
        }
    }
    return true;
}

void CMainToolBar::ApplyTexts() {
    for (const auto& [id, text] : kTipTexts) {
        if (QAction* action = frame_.Action(id))
            action->setToolTip(xui::fromCp1252(ToolTipOfMenuText(mv::LanguageText(text))));
    }
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, xui::toQColor(kToolTipBackground));
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);
}
