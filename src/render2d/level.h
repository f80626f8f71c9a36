#pragma once
// Levels and alphas are floats; the copies work with an integer weight k = trunc(level * 255.99),
// and scale a channel as (k * byte) >> 8.

constexpr float kLevelScale = 255.99f;
constexpr int kFullWeight = 255;
constexpr int kNoWeight = -1;
constexpr int kWeightShift = 8;

// The weight of a level, held at kFullWeight for levels of 1 and more, or kNoWeight for a negative
// or NaN level (such a level draws nothing).
inline int levelWeight(float level) {
    if (!(level >= 0.0f)) return kNoWeight;
    const float scaled = level * kLevelScale;
    if (scaled >= static_cast<float>(kFullWeight)) return kFullWeight;
    return static_cast<int>(scaled);
}
