#include "dictionary/sounds/Resample.h"

#include <cmath>
#include <cstddef>

namespace quillory {

std::vector<std::int16_t> Resample(const std::vector<std::int16_t>& samples, int fromRate, int toRate) {
    if (samples.empty() || fromRate <= 0 || toRate <= 0)
        return {};
    if (fromRate == toRate)
        return samples;
    const auto outCount =
        std::size_t(std::uint64_t(samples.size()) * std::uint64_t(toRate) / std::uint64_t(fromRate));
    std::vector<std::int16_t> out(outCount);
    const double step = double(fromRate) / toRate;
    for (std::size_t i = 0; i < outCount; ++i) {
        const double position = double(i) * step;
        const auto index = std::size_t(position);
        const double fraction = position - double(index);
        const double a = samples[index];
        const double b = index + 1 < samples.size() ? samples[index + 1] : a;
        out[i] = std::int16_t(std::lround(a + (b - a) * fraction));
    }
    return out;
}

} // namespace quillory
