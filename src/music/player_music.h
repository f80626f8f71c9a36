#pragma once
// What every Music over the module player shares: loading the module, and starting it again from
// song position 0.
#include <string>

#include "music/module_player.h"
#include "music/music.h"

class PlayerMusic : public Music {
public:
    bool loadModule(const std::string& path, std::string& error) override { return player.load(path, error); }

protected:
    // Restarts the loaded module; false with the message when none is loaded.
    bool restartPlayer(std::string& error) {
        if (!player.loaded()) {
            error = "No module loaded";
            return false;
        }
        player.restart();
        return true;
    }

    ModulePlayer player;
};
