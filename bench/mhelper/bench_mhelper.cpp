// Speed of the morphology library: OpenMorphology warm, and CalcStem over a realistic
// Russian word mix (the words of the gold text in text order, as a reader meets them).
//   bench_mhelper [DATAFILE [WORDLIST]]
#include "mhelper.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> ReadWords(const std::string& path)
{
    std::vector<std::string> words;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream items(line);
        std::string item;
        while (items >> item)
            words.push_back(item.substr(0, item.find('/')));
    }
    return words;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string data = argc > 1 ? argv[1] : PARAFRIX_BIN_DIR "/mhelper.dat";
    const std::string wordList = argc > 2 ? argv[2] : PARAFRIX_BENCH_DIR "/gold-ru.txt";
    const std::vector<std::string> words = ReadWords(wordList);
    if (words.empty()) {
        std::fprintf(stderr, "no words in %s\n", wordList.c_str());
        return 1;
    }

    std::vector<double> opens;
    for (int i = 0; i < 20; ++i) {
        const auto start = Clock::now();
        const uint32_t h = OpenMorphology(data.c_str());
        opens.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        CloseMorphology(h);
    }
    std::sort(opens.begin(), opens.end());
    std::printf("OpenMorphology warm: median %.2f ms, best %.2f ms (first %.2f ms excluded from neither)\n",
                opens[opens.size() / 2], opens.front(), opens.back());

    const uint32_t h = OpenMorphology(data.c_str());
    char out[100];
    int32_t size = 99;
    if (CalcStem(h, "", out, &size) != 1)
        std::fprintf(stderr, "warning: %s could not be used; measuring the suffix rules alone\n", data.c_str());
    const size_t total = 6000000;
    size_t checksum = 0;
    const auto start = Clock::now();
    for (size_t i = 0; i < total; ++i) {
        size = 99;
        CalcStem(h, words[i % words.size()].c_str(), out, &size);
        checksum += size_t(out[0]);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("CalcStem: %zu words in %.2f s = %.2f M words/s (%zu distinct-position words, check %zu)\n", total,
                seconds, double(total) / seconds / 1e6, words.size(), checksum % 97);
    CloseMorphology(h);
    return 0;
}
