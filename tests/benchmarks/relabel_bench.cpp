// Times a full relabel of the model (clearGrid, then placeRoot) against the least work a
// relabel can be: writing the 144 labels in a plain loop into an array of the same
// layout. Both run in alternating batches in one process and report medians.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "model/fretboard.h"
#include "tests/benchmarks/bench_stats.h"

namespace {

using modalscope::Fretboard;
using modalscope::IntervalLabel;
using modalscope::kFretCount;
using modalscope::kStringCount;
using Clock = std::chrono::steady_clock;

// Same layout as the model's grid: the six strings of one fret cell lie together.
using PlainGrid = IntervalLabel[kFretCount][kStringCount];

// Semitones of each open string relative to string 0 (standard tuning).
constexpr int kOpenOffset[kStringCount] = {0, -5, -9, -14, -19, -24};

constexpr int kRootCount = kStringCount * kFretCount;
constexpr int kOpsPerBatch = 2000;
constexpr int kRounds = 401;

// Forces the stores before it to happen and keeps `p`'s memory observable, so neither
// side can be folded away or hoisted out of its loop.
inline void barrier(const void* p) {
    asm volatile("" : : "r"(p) : "memory");
}

// The baseline: per string the label of fret cell 0 from the tuning, then count along.
void writeLabels(PlainGrid& grid, int rootString, int rootFret) {
    for (int s = 0; s < kStringCount; ++s) {
        int label = ((kOpenOffset[s] - kOpenOffset[rootString] - rootFret) % 12 + 12) % 12 + 1;
        for (int f = 0; f < kFretCount; ++f) {
            grid[f][s] = label;
            label = label == 12 ? 1 : label + 1;
        }
    }
}

// The baseline only counts if it computes what the model does, for every root.
bool baselineMatchesModel() {
    Fretboard board;
    PlainGrid plain = {};
    for (int root = 0; root < kRootCount; ++root) {
        const int s = root / kFretCount;
        const int f = root % kFretCount;
        board.clearGrid();
        board.placeRoot(s, f);
        writeLabels(plain, s, f);
        for (int cs = 0; cs < kStringCount; ++cs) {
            for (int cf = 0; cf < kFretCount; ++cf) {
                if (board.label(cs, cf) != plain[cf][cs]) {
                    std::printf("mismatch: root %d,%d cell %d,%d model %d plain %d\n", s, f, cs, cf,
                                board.label(cs, cf), plain[cf][cs]);
                    return false;
                }
            }
        }
    }
    return true;
}

double nanosecondsPerOp(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::nano>(end - start).count() / kOpsPerBatch;
}

// Both sides walk the same sequence of roots, one per operation.
double timeModel(Fretboard& board, int& root) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kOpsPerBatch; ++i) {
        board.clearGrid();
        board.placeRoot(root / kFretCount, root % kFretCount);
        barrier(&board);
        root = root + 1 == kRootCount ? 0 : root + 1;
    }
    return nanosecondsPerOp(start, Clock::now());
}

double timePlain(PlainGrid& grid, int& root) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kOpsPerBatch; ++i) {
        writeLabels(grid, root / kFretCount, root % kFretCount);
        barrier(&grid);
        root = root + 1 == kRootCount ? 0 : root + 1;
    }
    return nanosecondsPerOp(start, Clock::now());
}

std::int64_t checksum(const Fretboard& board, const PlainGrid& grid) {
    std::int64_t sum = 0;
    for (int s = 0; s < kStringCount; ++s) {
        for (int f = 0; f < kFretCount; ++f) {
            sum += board.label(s, f) * (s + 1) + grid[f][s] * (f + 1);
        }
    }
    return sum;
}

} // namespace

int main() {
    using namespace modalscope::bench;
    if (!baselineMatchesModel()) {
        return 1;
    }
    Fretboard board;
    PlainGrid grid = {};
    int modelRoot = 0;
    int plainRoot = 0;
    std::vector<double> model;
    std::vector<double> plain;
    std::int64_t sum = 0;

    // A warm-up round each, then alternate which side goes first.
    timeModel(board, modelRoot);
    timePlain(grid, plainRoot);
    for (int round = 0; round < kRounds; ++round) {
        if (round % 2 == 0) {
            model.push_back(timeModel(board, modelRoot));
            plain.push_back(timePlain(grid, plainRoot));
        } else {
            plain.push_back(timePlain(grid, plainRoot));
            model.push_back(timeModel(board, modelRoot));
        }
        sum += checksum(board, grid);
    }

    const double modelNs = median(model);
    const double plainNs = median(plain);
    const double paired = median(pairedRatios(model, plain));
    std::printf("relabel: %d rounds of %d ops per side, alternating (checksum %lld)\n", kRounds,
                kOpsPerBatch, static_cast<long long>(sum));
    std::printf("  clearGrid + placeRoot     %8.1f ns/op  (p25 %.1f, p75 %.1f)\n", modelNs,
                quantile(model, 0.25), quantile(model, 0.75));
    std::printf("  plain 144-label loop      %8.1f ns/op  (p25 %.1f, p75 %.1f)\n", plainNs,
                quantile(plain, 0.25), quantile(plain, 0.75));
    std::printf("  ratio of medians          %8.2fx  (median of paired ratios %.2fx; goal <= 2x: "
                "%s)\n",
                modelNs / plainNs, paired, paired <= 2.0 ? "met" : "MISSED");
    return 0;
}
