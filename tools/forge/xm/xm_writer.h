// Encodes an XmModule into the bytes of an .xm file (version 1.04, packed patterns,
// delta-coded samples), after checking every count and value against the format's limits.
#pragma once

#include "forge/xm/xm_module.h"

#include <cstdint>
#include <string>
#include <vector>

namespace forge {

struct XmEncoding {
    std::vector<uint8_t> bytes;
    std::string error; // empty when the module was valid and bytes hold the file

    bool ok() const { return error.empty(); }
};

XmEncoding encodeXm(const XmModule& module);

// Encodes and writes the module; returns an error text, empty on success.
std::string writeXmFile(const XmModule& module, const std::string& path);

} // namespace forge
