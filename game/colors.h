// Colours shared by the game's screens.
#pragma once

struct Tint {
    float red;
    float green;
    float blue;
};

constexpr Tint TINT_WHITE{1.0f, 1.0f, 1.0f};

// The lilac of every label and of the play screen's texts, as font colour bytes.
constexpr unsigned char LABEL_RED = 240;
constexpr unsigned char LABEL_GREEN = 220;
constexpr unsigned char LABEL_BLUE = 255;
constexpr unsigned char LABEL_ALPHA = 255;

// Font set 1 holds every text the game prints.
constexpr int TEXT_FONT_SET = 1;

// One step of a colour cycle: the sum is formed in double precision and stored as float, and a value
// above 1.0 starts again at 0 while exactly 1.0 stays. Where a cycle wraps depends on exactly this rounding.
inline float cycledChannel(float value, double step) {
    const float next = static_cast<float>(value + step);
    return next > 1.0 ? 0.0f : next;
}
