// The frame layout check at its edges; each frame is a vector of exactly the size handed over,
// so the sanitizers see any read beyond it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "camera/viewfinder_frame.h"

namespace {

// A 5 x 3 frame: 16-byte rows, pixels at `offset`, `extra` bytes after them; then the 32 bits at
// byte `at` (when given) set to `value`.
std::vector<uint8_t> Frame(uint32_t offset, int extra = 0, uint32_t at = 0, uint32_t value = 0) {
    std::vector<uint8_t> frame(offset + 16 * 3 + extra, 0);
    const uint32_t fields[][2] = {{10, offset}, {14, 40}, {18, 5}, {22, 3}, {26, 1 | 24 << 16}};
    for (const auto& f : fields) memcpy(&frame[f[0]], &f[1], 4);
    if (at) memcpy(&frame[at], &value, 4);
    return frame;
}

TEST(ViewfinderFrame, PixelsMustLieWithinTheSizeHandedOver) {
    const struct {
        std::vector<uint8_t> frame;
        bool read;
    } cases[] = {
        {Frame(54), true},
        {Frame(54, -1), false},  // the last pixel row one byte short
        {Frame(54 + 1024), true},  // behind a colour table of 256 entries
        {Frame(54 + 1025), false},
        {Frame(53), false},  // pixels inside the headers
        {Frame(54, -49), false},  // 53 bytes: one short of the headers
        {Frame(54, 0, 18, 0), false},             // no width
        {Frame(54, 0, 22, uint32_t(-3)), false},  // top-down rows
        {Frame(54, 0, 18, 20000), false},         // absurd width
        {Frame(54, 0, 28, 32), false},            // 32 bits a pixel
        {Frame(54, 0, 22, 4), false},             // one row more than it holds
        {Frame(54, 0, 18, 10), false},            // rows twice as wide
        {Frame(54, 0, 18, 6), false},             // one pixel wider
        {Frame(54, 0, 10, 102), false},           // pixels at the end
    };
    for (const auto& c : cases) {
        viewfinder_frame::Layout layout{};
        EXPECT_EQ(c.read, viewfinder_frame::Read(c.frame.data(), c.frame.size(), &layout)) << c.frame.size();
        if (c.read) {
            EXPECT_EQ(16u * 3 + layout.pixelOffset, c.frame.size());
        }
    }
}

}  // namespace
