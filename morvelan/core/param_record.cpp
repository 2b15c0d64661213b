#include "morvelan/core/param_record.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/param_number.h"

std::string CModulParam::GetValueText() const {
    if (kind == 1) {
        const auto v = static_cast<std::uint32_t>(value);
        return mv::FormatC("%d.%d.%d.%d", static_cast<int>((v >> 24) & 0xFF),
                           static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                           static_cast<int>(v & 0xFF));
    }
    if (choiceCount != 0 && !choices.empty()) {
        std::string shown;
        for (const auto& choice : choices) {
            if (choice.value == value) {
                shown = choice.name;
            }
        }
        return shown;
    }
    return mv::FormatC("%d", value);
}

int CModulParam::EditValue() {
    mv::IAppHooks& hooks = mv::appHooks();
    if (kind == 1) {
        return hooks.EditAddressParam(*this);
    }
    if (choiceCount != 0) {
        return hooks.EditChoiceParam(*this);
    }
    if (type == 1) {
        return hooks.EditRadioParam(*this);
    }
    return hooks.EditRangeParam(*this);
}
