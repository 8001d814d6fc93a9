#pragma once

#include <cstdio>

namespace cubwave {

class MainWindow;

// For end-to-end runs only: writes where the band map's shown spots and the spot list's rows
// are on the screen, each time that changes, so a script can click them. One line each:
//   spot-label SLOT CALL X Y      spot-row ROW CALL X Y      (X Y: the centre, screen pixels)
// and, while the spot window shows, its display options: option - OptBand X Y, option - OptList X Y
void reportSpotDisplays(MainWindow& form, std::FILE* out);

}  // namespace cubwave
