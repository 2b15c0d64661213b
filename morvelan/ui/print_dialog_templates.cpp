// The layouts of the print selection and preview dialogs (dialog units).
#include "morvelan/ui/print_dialog_ids.h"

namespace morvelan {

using namespace mv;

namespace {

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t kRadio = kChild | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr std::uint32_t kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr std::uint32_t kGroup = kChild | BS_GROUPBOX;
constexpr std::uint32_t kCombo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr std::uint32_t kEdit = kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

} // namespace

const xui::DialogTemplate& printSelectDlgTemplate() {
    static const xui::DialogTemplate t = xui::modalDialogTemplate(
        kPrintSelectTemplate, "Drucken", 260, 198,
        {
            {"Button", kPrinterGroup, "Drucker", 7, 4, 246, 34, kGroup},
            {"Static", kNameLabel, "Name :", 14, 18, 40, 10, kChild},
            {"ComboBox", kPrinterCombo, "", 56, 16, 190, 100, kCombo | WS_GROUP},
            {"Button", kRangeGroup, "Seitenbereich", 7, 42, 160, 74, kGroup},
            {"Button", kRadioProjectPage, "Projekt", 14, 54, 148, 10, kRadio | WS_GROUP},
            {"Button", kRadioProjectLabels, "Etiketten f\xFCr Projekt", 14, 66, 148, 10, kRadio},
            {"Button", kRadioControllerLabels, "Etiketten f\xFCr aktuellen Controller + Module", 14,
             78, 150, 10, kRadio},
            {"Button", kRadioModuleLabels, "Etiketten f\xFCr aktuelles Modul", 14, 90, 148, 10,
             kRadio},
            {"Button", kPreviewCheck, "Seitenansicht", 14, 102, 148, 10, kCheck | WS_GROUP},
            {"Button", kCopiesGroup, "Kopien", 173, 42, 80, 74, kGroup},
            {"Static", kCountLabel, "Anzahl :", 180, 56, 36, 10, kChild},
            {"CColorSelEdit", kCopiesEdit, "1", 218, 54, 28, 12, kEdit},
            {"Button", kFrameCheck, "Rahmen", 180, 78, 66, 10, kCheck},
            {"Button", kPaperGroup, "Papier", 7, 120, 246, 52, kGroup},
            {"Static", kSizeLabel, "Gr\xF6\xDF" "e :", 14, 134, 40, 10, kChild},
            {"ComboBox", kPaperCombo, "", 56, 132, 120, 100, kCombo},
            {"Static", kWidthLabel, "Breite", 14, 152, 30, 10, kChild},
            {"CColorSelEdit", kUserWidthEdit, "", 46, 150, 30, 12, kEdit},
            {"Static", kWidthUnit, "mm", 80, 152, 14, 10, kChild},
            {"Static", kHeightLabel, "H\xF6he", 100, 152, 30, 10, kChild},
            {"CColorSelEdit", kUserHeightEdit, "", 132, 150, 30, 12, kEdit},
            {"Static", kHeightUnit, "mm", 166, 152, 14, 10, kChild},
            {"XBUTTON", IDOK, "OK", 130, 178, 60, 14, kChild | WS_TABSTOP},
            {"XBUTTON", IDCANCEL, "Abbrechen", 193, 178, 60, 14, kChild | WS_TABSTOP},
        });
    return t;
}

const xui::DialogTemplate& printPreviewDlgTemplate() {
    static const xui::DialogTemplate t = xui::modalDialogTemplate(
        kPrintPreviewTemplate, "Seitenansicht", 350, 300,
        {
            {"Static", kPageFrame, "", 7, 7, 200, 286, WS_CHILD},
            {"Static", kPreviewTitle, "Seitenansicht", 215, 7, 128, 12, WS_CHILD},
            {"XBUTTON", kZoomInButton, "Zoom in", 215, 25, 62, 14, kChild | WS_TABSTOP},
            {"XBUTTON", kZoomOutButton, "Zoom out", 281, 25, 62, 14, kChild | WS_TABSTOP},
            {"XBUTTON", kNextPageButton, "Next Page", 215, 43, 62, 14, kChild | WS_TABSTOP},
            {"XBUTTON", kPreviousPageButton, "Previous Page", 281, 43, 62, 14,
             kChild | WS_TABSTOP},
            {"Static", kCurrentPageLabel, "Seite :", 215, 65, 62, 12, WS_CHILD},
            {"Static", kCurrentPageStatic, "1", 281, 65, 62, 12, WS_CHILD},
            {"Static", kPageCountLabel, "Seiten :", 215, 81, 62, 12, WS_CHILD},
            {"Static", kPageCountStatic, "", 281, 81, 62, 12, WS_CHILD},
            {"Static", kJobNameStatic, "", 215, 97, 128, 12, WS_CHILD},
            {"XBUTTON", IDOK, "OK", 281, 279, 62, 14, kChild | WS_TABSTOP},
        });
    return t;
}

} // namespace morvelan
