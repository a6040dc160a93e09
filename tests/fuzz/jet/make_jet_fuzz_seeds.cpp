// Writes the seed corpus of jet_reader_fuzz: small synthetic databases, one plain and one
// with a password and encoded pages.
//
//   make_jet_fuzz_seeds <folder>

#include "synthetic_jet_file.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const struct {
        const char* name;
        jettest::ShelfFileOptions options;
    } seeds[] = {{"shelf-plain.jet", {}}, {"shelf-encoded.jet", {u"kd=73", 0x6B1D40A5u}}};
    for (const auto& seed : seeds) {
        const auto bytes = jettest::shelfDatabase(seed.options);
        std::ofstream out(folder + "/" + seed.name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", seed.name);
            return 1;
        }
    }
    return 0;
}
