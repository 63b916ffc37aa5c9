// mhelper-compile: builds the morphology data file from spelling dictionaries.
//   mhelper-compile -o OUT [-i IRREGULAR]... [--explain WORD]... AFF DIC [AFF DIC]...
#include "DictionaryBuilder.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::string output;
    std::vector<std::string> irregular, inputs, explain;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc)
            output = argv[++i];
        else if (arg == "--explain" && i + 1 < argc)
            explain.push_back(argv[++i]);
        else if (arg == "-i" && i + 1 < argc)
            irregular.push_back(argv[++i]);
        else
            inputs.push_back(arg);
    }
    if (output.empty() || inputs.empty() || inputs.size() % 2 != 0) {
        std::fprintf(stderr,
                     "usage: mhelper-compile -o OUT [-i IRREGULAR]... [--explain WORD]... AFF DIC [AFF DIC]...\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    mhelper::DictionaryBuilder builder;
    std::string error;
    for (size_t i = 0; i < inputs.size(); i += 2) {
        if (!builder.AddHunspell(inputs[i], inputs[i + 1], error)) {
            std::fprintf(stderr, "mhelper-compile: %s\n", error.c_str());
            return 1;
        }
    }
    for (const std::string& path : irregular) {
        if (!builder.AddIrregular(path, error)) {
            std::fprintf(stderr, "mhelper-compile: %s\n", error.c_str());
            return 1;
        }
    }
    const size_t forms = builder.formCount();
    if (!builder.Write(output, error)) {
        std::fprintf(stderr, "mhelper-compile: %s\n", error.c_str());
        return 1;
    }
    for (const std::string& word : explain)
        std::fputs(builder.Explain(word).c_str(), stdout);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("mhelper-compile: %zu forms, %zu lemmas -> %s in %.1f s\n", forms, builder.lemmaCount(), output.c_str(),
                seconds);
    return 0;
}
