#pragma once
// Small modules for the player's tests, built with the forge's XM writer.
#include <initializer_list>
#include <string>
#include <vector>

#include "forge/xm/xm_module.h"
#include "forge/xm/xm_writer.h"

namespace playertest {

// Speed 6 at 125 BPM: one row lasts 0.12 s, 5760 sample frames at 48 kHz.
constexpr int kFramesPerRow = 5760;

struct Cell {
    int row, channel, effect, param;
};

// One pattern per list of cells, played in the given order.
inline forge::XmModule makeModule(std::initializer_list<std::vector<Cell>> patterns,
                                  std::vector<uint8_t> orders, int rows = 8) {
    forge::XmModule m;
    m.channels = 2;
    for (const std::vector<Cell>& cells : patterns) {
        int p = m.addPattern(rows);
        for (const Cell& c : cells) {
            forge::XmCell& cell = m.patterns[p].at(c.row, c.channel, m.channels);
            cell.effect = static_cast<uint8_t>(c.effect);
            cell.param = static_cast<uint8_t>(c.param);
        }
    }
    m.orders = std::move(orders);
    return m;
}

inline Cell syncAt(int row, int value, int channel = 0) {
    return {row, channel, forge::kXmEffectSync, value};
}

inline std::vector<std::uint8_t> encode(const forge::XmModule& m) {
    return forge::encodeXm(m).bytes;
}

} // namespace playertest
