// Registration of the own controls with the dialog builder. The registry does this by itself
// before its first use (window_class.h); calling it again puts the own classes back:
// "XBUTTON", "XGRID" and "SysIPAddress32" as templates name them, and the coloured controls
// under their own names ("CColorSelEdit", "CColorStatic", "CColorComboBox", "CInfoListBox")
// for templates that want them made in place of a plain edit, static, combo or list box.
#pragma once

namespace xui {

// True when every class was registered. Safe to call again.
bool RegisterControlClasses();

} // namespace xui
