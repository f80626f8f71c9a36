#include "forge/xm/xm_module.h"

namespace forge {

int XmModule::addPattern(int rows) {
    XmPattern pattern;
    pattern.rows = rows;
    pattern.cells.resize(size_t(rows > 0 ? rows : 0) * size_t(channels > 0 ? channels : 0));
    patterns.push_back(std::move(pattern));
    return int(patterns.size()) - 1;
}

} // namespace forge
