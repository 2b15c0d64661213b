#include "xui/controls.h"

#include "platform/win_styles.h"
#include "xui/color_combo_box.h"
#include "xui/color_sel_edit.h"
#include "xui/color_static.h"
#include "xui/info_list_box.h"
#include "xui/ip_address_ctrl.h"
#include "xui/window_class.h"
#include "xui/xbutton.h"
#include "xui/xgrid_ctrl.h"

namespace xui {

bool RegisterControlClasses() {
    bool ok = RegisterXButtonClass();
    ok = RegisterXGridClass() && ok;
    ok = RegisterIpAddressClass() && ok;
    ok = registerWindowClass("CColorSelEdit",
                             [](QWidget* parent, const WindowCreateInfo& info) {
                                 auto* edit = new CColorSelEdit(parent);
                                 edit->setText(info.text);
                                 edit->setReadOnly((info.style & mv::ES_READONLY) != 0);
                                 return static_cast<QWidget*>(edit);
                             }) &&
         ok;
    ok = registerWindowClass("CColorStatic",
                             [](QWidget* parent, const WindowCreateInfo& info) {
                                 auto* label = new CColorStatic(parent, info.text);
                                 const std::uint32_t type = info.style & mv::SS_TYPEMASK;
                                 label->setAlignment(Qt::AlignTop |
                                                     (type == mv::SS_CENTER  ? Qt::AlignHCenter
                                                      : type == mv::SS_RIGHT ? Qt::AlignRight
                                                                             : Qt::AlignLeft));
                                 return static_cast<QWidget*>(label);
                             }) &&
         ok;
    ok = registerWindowClass("CColorComboBox",
                             [](QWidget* parent, const WindowCreateInfo& info) {
                                 auto* combo = new CColorComboBox(parent);
                                 combo->setEditable((info.style & 0x3u) == mv::CBS_DROPDOWN);
                                 return static_cast<QWidget*>(combo);
                             }) &&
         ok;
    ok = registerWindowClass("CInfoListBox",
                             [](QWidget* parent, const WindowCreateInfo&) {
                                 return static_cast<QWidget*>(new CInfoListBox(parent));
                             }) &&
         ok;
    return ok;
}

} // namespace xui
