#pragma once
// G.711 µ-law companding of 16-bit PCM samples: one byte per sample, with a
// quantisation step that grows with the amplitude (about 1/32 of it).
#include <cstdint>

namespace quillory {

inline std::uint8_t EncodeMuLaw(std::int16_t sample) {
    constexpr int kBias = 0x84;
    constexpr int kClip = 32635;
    int value = sample;
    const int sign = value < 0 ? 0x80 : 0;
    if (sign != 0)
        value = -value;
    if (value > kClip)
        value = kClip;
    value += kBias;
    int exponent = 7;
    for (int mask = 0x4000; (value & mask) == 0 && exponent > 0; mask >>= 1)
        --exponent;
    const int mantissa = (value >> (exponent + 3)) & 0x0F;
    return static_cast<std::uint8_t>(~(sign | (exponent << 4) | mantissa));
}

inline std::int16_t DecodeMuLaw(std::uint8_t code) {
    constexpr int kBias = 0x84;
    const int bits = static_cast<std::uint8_t>(~code);
    const int exponent = (bits >> 4) & 0x07;
    const int mantissa = bits & 0x0F;
    const int magnitude = (((mantissa << 3) + kBias) << exponent) - kBias;
    return static_cast<std::int16_t>((bits & 0x80) != 0 ? -magnitude : magnitude);
}

} // namespace quillory
