#pragma once
// What every Music over the module player shares: loading the module, starting it again from
// song position 0, and the silent run up to a later start.
#include <string>
#include <vector>

#include "music/module_player.h"
#include "music/music.h"

class PlayerMusic : public Music {
public:
    bool loadModule(const std::string& path, std::string& error) override { return player.load(path, error); }

    bool cue(double seconds, std::string& error) override;

protected:
    // Restarts the loaded module, unless a cue has already started it; false with the message
    // when none is loaded.
    bool restartPlayer(std::string& error);

    ModulePlayer player;

private:
    bool cued = false;
    std::vector<std::int16_t> cueScratch;
};
