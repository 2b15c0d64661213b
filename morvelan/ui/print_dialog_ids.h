// Template ids, control ids and language texts of the print selection and preview dialogs.
#pragma once

#include "xui/dialog_template.h"

namespace morvelan {

// Print selection (IDD 175).
constexpr int kPrintSelectTemplate = 175;
constexpr int kPrinterCombo = 1058;
constexpr int kPreviewCheck = 1071;
constexpr int kRadioProjectPage = 1060;
constexpr int kRadioProjectLabels = 1072;
constexpr int kRadioControllerLabels = 1061;
constexpr int kRadioModuleLabels = 1062;
constexpr int kCopiesEdit = 1064;
constexpr int kPaperCombo = 1083;
constexpr int kUserWidthEdit = 1090;
constexpr int kUserHeightEdit = 1074;
constexpr int kWidthLabel = 1086;
constexpr int kHeightLabel = 1088;
constexpr int kWidthUnit = 1087;
constexpr int kHeightUnit = 1089;
constexpr int kFrameCheck = 1098;
constexpr int kPrinterGroup = 1091;
constexpr int kNameLabel = 1092;
constexpr int kRangeGroup = 1093;
constexpr int kCopiesGroup = 1094;
constexpr int kCountLabel = 1095;
constexpr int kPaperGroup = 1096;
constexpr int kSizeLabel = 1097;

// Print preview (IDD 176).
constexpr int kPrintPreviewTemplate = 176;
constexpr int kZoomInButton = 1079;
constexpr int kZoomOutButton = 1080;
constexpr int kNextPageButton = 1081;
constexpr int kPreviousPageButton = 1082;
constexpr int kPageCountStatic = 1065;
constexpr int kCurrentPageStatic = 1078;
constexpr int kJobNameStatic = 1075;
constexpr int kPreviewTitle = 1046;
constexpr int kCurrentPageLabel = 1077;
constexpr int kPageCountLabel = 1064;
constexpr int kPageFrame = 1076;

// Language texts.
constexpr int kTextPrintCaption = 29;
constexpr int kTextPreview = 33;
constexpr int kTextRange = 34;
constexpr int kTextProjectPage = 35;
constexpr int kTextProjectLabels = 36;
constexpr int kTextControllerLabels = 37;
constexpr int kTextCopies = 38;
constexpr int kTextCount = 39;
constexpr int kTextPaper = 40;
constexpr int kTextSize = 41;
constexpr int kTextWidth = 42;
constexpr int kTextHeight = 43;
constexpr int kTextZoomIn = 44;
constexpr int kTextZoomOut = 45;
constexpr int kTextNextPage = 46;
constexpr int kTextPreviousPage = 47;
constexpr int kTextPreviewTitle = 48;
constexpr int kTextCurrentPage = 49;
constexpr int kTextPageCount = 50;
constexpr int kTextPrinter = 51;
constexpr int kTextName = 52;
constexpr int kTextModuleLabels = 55;
constexpr int kTextFrame = 56;
constexpr int kTextTooSmall = 5007;
constexpr int kTextTooLarge = 5008;
constexpr int kTextOk = 10000;
constexpr int kTextCancel = 10001;

// Highest number of copies.
constexpr int kMaxCopies = 999;

const xui::DialogTemplate& printSelectDlgTemplate();
const xui::DialogTemplate& printPreviewDlgTemplate();

} // namespace morvelan
