#include "morvelan/core/param_groups.h"

#include "morvelan/core/channel_module.h"

std::vector<ParamGroup> ParamGroupsOf(CModule* module) {
    std::vector<ParamGroup> groups;
    auto* channels = dynamic_cast<CChannelModule*>(module);
    if (!channels)
        return groups;
    for (int k = 0; k < channels->ChannelCount(); ++k) {
        CModulChannel& channel = channels->Channel(k);
        ParamGroup group;
        group.name = channel.name;
        for (CModulParam& param : channel.params)
            group.params.push_back(&param);
        groups.push_back(std::move(group));
    }
    return groups;
}

int ParamCount(const std::vector<ParamGroup>& groups) {
    int n = 0;
    for (const ParamGroup& group : groups)
        n += static_cast<int>(group.params.size());
    return n;
}
