// Order statistics for side-by-side timings: on a shared, noisy machine the median of
// many short batches is steadier than a mean, and paired ratios cancel slow phases.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace modalscope::bench {

// The q-quantile (0..1) by nearest rank; the samples are taken by value and sorted.
inline double quantile(std::vector<double> samples, double q) {
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    const std::size_t last = samples.size() - 1;
    return samples[static_cast<std::size_t>(q * static_cast<double>(last) + 0.5)];
}

inline double median(const std::vector<double>& samples) {
    return quantile(samples, 0.5);
}

// Ratio of each round's two timings, so both sides of one ratio saw the same load.
inline std::vector<double> pairedRatios(const std::vector<double>& numerators,
                                        const std::vector<double>& denominators) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < numerators.size() && i < denominators.size(); ++i) {
        if (denominators[i] > 0.0) {
            ratios.push_back(numerators[i] / denominators[i]);
        }
    }
    return ratios;
}

} // namespace modalscope::bench
