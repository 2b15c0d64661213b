// The parameter groups a module hands to its parameter dialog: a channel board's channels, each
// with its parameters; the flag and parameter boards have none.
#pragma once

#include "morvelan/core/param_record.h"

#include <string>
#include <vector>

class CModule;

struct ParamGroup {
    std::string name;
    std::vector<CModulParam*> params; // owned by the module
};

// The groups of a module (none for a null module or a kind without parameters).
std::vector<ParamGroup> ParamGroupsOf(CModule* module);

// Number of parameters of all groups together.
int ParamCount(const std::vector<ParamGroup>& groups);
