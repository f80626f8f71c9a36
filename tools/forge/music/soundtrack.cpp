#include "forge/music/soundtrack.h"

#include "forge/music/provisional_module.h"
#include "forge/xm/xm_writer.h"

namespace forge {

std::string writeSoundtrack(const std::string& outDir) {
    return writeXmFile(makeProvisionalModule(), outDir + "/" + kSoundtrackFileName);
}

} // namespace forge
