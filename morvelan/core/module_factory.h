// Makes the module object for a description: by its protocol id and kind (Typ).
#pragma once

#include "morvelan/core/module.h"

#include <memory>

using ModuleCreator = std::unique_ptr<CModule> (*)();

// Installs the class for a kind (3 .. 8 are supplied by the one-option, parameter and picture
// modules; kinds 1 and 2 are built in). A null creator removes it.
void SetModuleCreator(int kind, ModuleCreator creator);

// The module object for a description with this protocol id and kind, or null when the protocol
// id is not 1 or the kind has no class. `tileKind` receives the tile's kind: 1 for the head kinds
// 1 and 5, else the kind itself.
std::unique_ptr<CModule> CreateModule(int protocolId, int kind, int* tileKind = nullptr);
