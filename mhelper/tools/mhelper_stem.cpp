// mhelper-stem [DATAFILE]: reads words one per line from stdin and writes one stem per
// line to stdout, through the library's three entry points only.
#include "ProgramFolder.h"
#include "mhelper.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const std::string data = argc > 1 ? std::string(argv[1]) : ProgramFolder() + "mhelper.dat";
    const uint32_t handle = OpenMorphology(data.c_str());
    if (handle == 0) {
        std::fprintf(stderr, "mhelper-stem: cannot open the morphology\n");
        return 1;
    }
    char probe[100];
    int32_t probeSize = 99;
    if (CalcStem(handle, "", probe, &probeSize) != 1)
        std::fprintf(stderr, "mhelper-stem: %s could not be used, stemming by suffix rules alone\n", data.c_str());

    static char outBuffer[1 << 16];
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    std::string line;
    char stem[100];
    int c;
    bool pending = false;
    auto flush = [&] {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        int32_t size = 99;
        CalcStem(handle, line.c_str(), stem, &size);
        std::fputs(stem, stdout);
        std::fputc('\n', stdout);
        line.clear();
    };
    while ((c = std::getc(stdin)) != EOF) {
        if (c == '\n') {
            flush();
            pending = false;
        } else if (c != '\0') {
            line.push_back(char(c));
            pending = true;
        }
    }
    if (pending)
        flush();
    CloseMorphology(handle);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
