#pragma once
// The runtime's Screen object: the primary screen's size in twips and its twips per pixel. The
// size comes from services().screenSize, so a test can stand in a screen of its own.

namespace host {

class Screen {
public:
    static float get_TwipsPerPixelX();
    static float get_TwipsPerPixelY();
    static float get_Width();  // twips
    static float get_Height(); // twips
};

} // namespace host
