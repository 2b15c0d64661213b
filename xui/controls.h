// Registration of the own controls with the dialog builder, done once at start-up:
// "XBUTTON", "XGRID" and "SysIPAddress32" as templates name them, and the coloured controls
// under their own names ("CColorSelEdit", "CColorStatic", "CColorComboBox", "CInfoListBox")
// for templates that want them made in place of a plain edit, static, combo or list box.
#pragma once

namespace xui {

// True when every class was registered. Safe to call again.
bool RegisterControlClasses();

} // namespace xui
