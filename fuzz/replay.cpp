// A fuzz target as an ordinary program: runs the target over every file in the folders (or
// files) it is given, as libFuzzer replays a corpus, so that the test suite holds each target's
// checks to what the program does now. A broken check aborts, after the input was named.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path &place)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    if (fs::is_regular_file(place)) {
        inputs.push_back(place);
    } else if (fs::is_directory(place)) {
        for (const fs::directory_entry &entry : fs::directory_iterator(place)) {
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char **argv)
{
    int run = 0;
    for (int i = 1; i < argc; ++i) {
        // A folder of kept failures may not exist yet: none has been kept.
        for (const std::filesystem::path &input : inputsIn(argv[i])) {
            std::ifstream file(input, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
            std::fprintf(stderr, "%s\n", input.c_str());
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
            ++run;
        }
    }
    std::printf("%d inputs\n", run);
    // No input at all would test nothing: a folder of seeds has gone missing.
    return run > 0 ? 0 : 1;
}
