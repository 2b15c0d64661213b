// Parameter data files (*.pdt): the parameter values of one module, saved and loaded by the
// module parameter dialog. Line 1 is the file name of the module's description as stored, then
// one line per parameter value ("%ld"), groups in the module's order and parameters in group
// order; lines end in CR LF. There is no count and no end marker.
#pragma once

#include "morvelan/core/param_groups.h"

#include <cstdint>
#include <string>
#include <vector>

// Largest parameter data file that is read.
constexpr std::uintmax_t kMaxParamDataFile = 16u * 1024u * 1024u;

// The file's bytes for a module.
std::string ParamDataText(const std::string& descriptionFile,
                          const std::vector<ParamGroup>& groups);

// Writes the file through a temporary file beside it and one rename, so an existing file is
// never left half-written. False when it cannot be written (errno tells why).
bool WriteParamDataFile(const std::string& path, const std::string& descriptionFile,
                        const std::vector<ParamGroup>& groups);

enum class ParamDataRead {
    Ok,         // every value was read
    CannotOpen, // missing, no regular file, too large, or unreadable
    OtherType,  // line 1 names another description: nothing changed
    Short,      // a value line is missing: the values before it were stored
};

struct ParamDataResult {
    ParamDataRead status = ParamDataRead::Ok;
    std::string firstLine; // line 1 of the file (OtherType)
    int valuesRead = 0;
};

// Reads a file into the groups' parameters. Lines end in CR LF or LF; values are read as atol
// reads them, saturated at the limits of 32 bits.
ParamDataResult ReadParamDataFile(const std::string& path, const std::string& descriptionFile,
                                  const std::vector<ParamGroup>& groups);
