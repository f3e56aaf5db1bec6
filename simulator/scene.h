// The simulated camera's view: a small animated landscape (moving sun, bouncing box, turning
// dial) that reacts to zoom, white balance and exposure compensation, with text on top.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "simulator/image_view.h"

namespace sim {

struct SceneParams {
    uint32_t step = 0;  // animation position: one step per viewfinder frame
    uint32_t zoomPos = 0;
    uint32_t zoomMax = 0;
    uint32_t whiteBalance = 0;  // white-balance code
    uint32_t exposureComp = 24;  // exposure-compensation code; 24 is 0 EV
    std::vector<std::string> lines;  // drawn at the top left
    std::string banner;              // drawn large at the bottom right
};

void RenderScene(const SceneParams& params, const ImageView& image);

// Draws text with 5x7 glyphs scaled by `scale`, on a dark band so it reads on any background.
void DrawText(const ImageView& image, int x, int y, const std::string& text, int scale);

}  // namespace sim
