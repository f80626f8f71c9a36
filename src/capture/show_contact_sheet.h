#pragma once
// The whole show on one page: frames reduced into a grid of cells at the 4:3 shape they are
// seen in, each labelled under it (show time, effect name) in the show's own font, written as a
// JPEG or a PNG for a person to judge the show at a glance.
#include <cstdint>
#include <string>
#include <vector>

#include "capture/capture_session.h"
#include "capture/still_picture.h"

class BitmapFont;

class ShowContactSheet {
public:
    static constexpr int kColumns = 10; // ten cells a row: a row is ten seconds of the show
    static constexpr int kCellWidth = 192;
    static constexpr int kCellHeight = 144;
    static constexpr int kLabelLineHeight = 15;
    static constexpr int kLabelLines = 2;
    static constexpr int kGap = 6;

    // Reduces the frame into a new cell with a two-line label.
    void add(const CapturedFrame& frame, const std::string& firstLine, const std::string& secondLine);
    int cells() const { return static_cast<int>(entries.size()); }

    // The sheet's size in pixels for the cells added so far.
    int width() const;
    int height() const;

    // Writes the sheet, labels drawn with `font`; false with the reason (the caller names the
    // file) on failure.
    bool write(const std::string& path, StillFormat format, const BitmapFont& font, std::string& error) const;

private:
    struct Entry {
        std::vector<std::uint8_t> rgb; // kCellWidth x kCellHeight, red, green, blue
        std::string lines[kLabelLines];
    };
    std::vector<Entry> entries;
};
