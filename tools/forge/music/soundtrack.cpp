#include "forge/music/soundtrack.h"

#include "forge/music/composition.h"
#include "forge/xm/xm_writer.h"

namespace forge {

std::string writeSoundtrack(const std::string& outDir) {
    return writeXmFile(composeSoundtrack(), outDir + "/" + kSoundtrackFileName);
}

} // namespace forge
