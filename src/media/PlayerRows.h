#pragma once

#include <array>
#include <string>

namespace zembrel {

// One of the three player rows of frmVideoSet: options 1 to 3, each with its text box.
struct PlayerRow {
    std::string caption;         // of the row's option button
    std::string defaultLocation; // taken when the row's text box is empty; empty: none
    // A path that ends in it lands in this row's text box when the window opens; empty: the
    // row for every other path.
    std::string pathEnding;
    std::string filter; // of the file dialog that looks for the player
};

// The players that frmVideoSet offers. The back end's program chooses the set of its platform;
// both sets are plain data, so both run in every test.
struct PlayerRows {
    std::array<PlayerRow, 3> rows;

    // The row of option 1, 2 or 3.
    const PlayerRow& row(int option) const { return rows.at(static_cast<std::size_t>(option - 1)); }
    // The row whose text box shows path when the window opens: 1, 2 or 3.
    int rowOnOpening(const std::string& path) const;

    // Windows Media Player and RealOne Player at their Windows locations.
    static PlayerRows windows();
    // vlc and mpv where a Linux desktop installs them; any file may be the other player.
    static PlayerRows posix();
};

} // namespace zembrel
