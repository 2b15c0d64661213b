// The module description reader lives in catalogue/ (the panel links it too).
#pragma once

#include "catalogue/module_description.h"
