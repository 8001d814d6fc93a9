// Runs a fuzz target's LLVMFuzzerTestOneInput over files instead of under libFuzzer, so the
// normal compiler builds it and ctest replays every corpus and regression input as a test.
// Arguments are files or folders (every file inside, in name order, subfolders too); a folder
// that does not exist is skipped, so a target without regression inputs needs none. The empty
// input, which libFuzzer always tries first, runs too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

namespace {

bool readFile(const fs::path& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);

    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code error;
        if (fs::is_directory(arg, error)) {
            for (const auto& entry : fs::recursive_directory_iterator(arg, error)) {
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
            }
        } else if (fs::is_regular_file(arg, error)) {
            inputs.push_back(arg);
        }
    }
    std::sort(inputs.begin(), inputs.end());

    LLVMFuzzerTestOneInput(nullptr, 0);
    std::vector<uint8_t> bytes;
    for (const fs::path& path : inputs) {
        if (!readFile(path, bytes)) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        // Printed first, so the input that crashes is the last one named.
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("replayed %zu inputs and the empty one\n", inputs.size());
    return 0;
}
