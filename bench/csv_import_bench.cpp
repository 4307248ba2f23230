// A channel list at the size limit (1 MiB) imported the way both front ends do it: one file of
// bad lines, one of every channel over and over (the repeats refused). Prints the time of each
// and the peak memory.
//   csv_import_bench [repeats]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/channels/channel_csv.h"
#include "core/image/band_limits.h"
#include "core/image/defaults.h"

using namespace norvik;

namespace {

constexpr std::size_t kFileSize = 1024 * 1024;

// `line` with %d as the channel number, 1 to 128 and round again.
std::string filled(const std::string& head, const char* line) {
    std::string csv = head;
    char buffer[128];
    for (int i = 0;; ++i) {
        const int n = std::snprintf(buffer, sizeof buffer, line, i % 128 + 1);
        if (csv.size() + static_cast<std::size_t>(n) > kFileSize)
            return csv;
        csv += buffer;
    }
}

double seconds(const std::string& csv, const RadioImage& base, int repeats, CsvImport& last) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i)
        last = importChannelsCsv(csv, base);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / repeats;
}

} // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    RadioImage base;
    writeNewImageDefaults(base, BandLimits{});
    const std::string head = "CH,RX Freq,TX Freq,Decode,Encode,CH.Name\n";
    const struct {
        const char* name;
        std::string csv;
    } files[] = {
        {"bad lines", filled(head, "x\n")},
        {"channels", filled(head, "%d,146.52500,146.52500,88.5,D023N,CALL\n")},
    };
    for (const auto& f : files) {
        CsvImport result;
        const double s = seconds(f.csv, base, repeats, result);
        std::printf("%-10s %7.3f s  %zu listed, %d more refused, %d accepted\n", f.name, s, result.problems.size(),
                    result.unlistedProblems, result.acceptedLines);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory %ld MB\n", usage.ru_maxrss / 1024);
}
