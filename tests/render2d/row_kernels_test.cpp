#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render2d/pixel_ops.h"
#include "render2d/row_kernels.h"

// The vector rows must match the plain per-pixel operations bit for bit, fourth byte included,
// for every weight and for row lengths that leave every possible tail.
TEST(RowKernels, MatchThePlainPixelOperations) {
    std::mt19937 random(5);
    for (int weight = 0; weight < kFullWeight; ++weight) {
        for (int count = 0; count < 12; ++count) {
            std::vector<Pixel> source(count), destination(count);
            // Every third source pixel has a blue byte of 0, which the subtracting row skips, and
            // every fifth is the word 0, which the colour-keyed row skips.
            for (int i = 0; i < count; ++i)
                source[i] = i % 5 == 0 ? 0 : random() & (i % 3 == 0 ? 0xFFFFFF00u : 0xFFFFFFFFu);
            for (Pixel& p : destination) p = random();
            auto check = [&](auto rowFn, auto op, const char* name) {
                std::vector<Pixel> got = destination;
                rowFn(source.data(), got.data(), count);
                for (int i = 0; i < count; ++i)
                    ASSERT_EQ(got[i], op(source[i], destination[i])) << name << " k=" << weight << " i=" << i;
            };
            check([](const Pixel* s, Pixel* d, int n) { addRow(s, d, n); }, AddOp{}, "add");
            check([](const Pixel* s, Pixel* d, int n) { subtractRow(s, d, n); }, SubtractOp{}, "subtract");
            check([](const Pixel* s, Pixel* d, int n) { transparentRow(s, d, n); }, TransparentOp{},
                  "transparent");
            check([weight](const Pixel* s, Pixel* d, int n) { addScaledRow(s, d, n, weight); },
                  AddScaledOp{weight}, "addScaled");
            check([weight](const Pixel* s, Pixel* d, int n) { blendRow(s, d, n, weight); }, BlendOp{weight},
                  "blend");
            check([weight](const Pixel* s, Pixel* d, int n) { fadedRow(s, d, n, weight); }, FadedOp{weight},
                  "faded");
        }
    }
}
