#pragma once
// Sample-rate conversion of 16-bit mono sound, shared by the recorder and
// the player.
#include <cstdint>
#include <vector>

namespace quillory {

// Linear interpolation from one sample rate to another; empty for empty
// input or a rate that is not positive.
std::vector<std::int16_t> Resample(const std::vector<std::int16_t>& samples, int fromRate, int toRate);

} // namespace quillory
