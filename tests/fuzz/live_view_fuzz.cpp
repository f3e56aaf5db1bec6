// The live-view geometry with a host's values: any frame size, destination-frame size and line
// position, in an area up to 4096 pixels, gives boxes without overflow (UBSan stops on any)
// and a destination box that spans the box it is fitted to in the fitted direction.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "dialog/live_view_geometry.h"
#include "tests/fuzz/require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t v[7] = {};
    memcpy(v, data, size < sizeof v ? size : sizeof v);
    const int32_t W = static_cast<int32_t>(v[0] % 4097), H = static_cast<int32_t>(v[1] % 4097);
    const uint32_t w0 = v[2] % (live_view::kMaxFrameSide + 1), h0 = v[3] % (live_view::kMaxFrameSide + 1);
    if (!live_view::PlausibleFrameSize(w0, h0)) return 0;
    // The picture may overhang the area: its own orientation decides the fit, not the area's.
    const live_view::Box picture = live_view::FitPicture(w0, h0, W, H);

    // The box handed to the overlays: the area's width and the drawn picture's height.
    const live_view::DestinationBox fitted =
        live_view::FitDestinationFrame(v[4], v[5], live_view::Box{picture.x, picture.y, W, picture.h});
    if (v[4] == 0 || v[5] == 0) return 0;
    const live_view::Edges& e = fitted.edges;
    // Fitted to the full height (upright frame) or the full width (wide frame) of the box.
    if (v[5] >= v[4])
        Require(e.top == picture.y && e.bottom == picture.y + picture.h);
    else
        Require(e.left == picture.x && e.right == picture.x + W);
    live_view::LinePosition(v[6], fitted.scale, e.left);
    live_view::LinePosition(v[6], fitted.scale, e.top);
    return 0;
}
