// Writes the seed corpus of jet_reader_fuzz: small synthetic databases, one plain and one
// with a password and encoded pages, and shop files whose tables had columns deleted and
// added after their rows were written.
//
//   make_jet_fuzz_seeds <folder>

#include "tests/jet/synthetic_jet_file.h"
#include "tests/jet/synthetic_shop_files.h"

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
        std::vector<std::uint8_t> bytes;
    } seeds[] = {{"shelf-plain.jet", jettest::shelfDatabase()},
                 {"shelf-encoded.jet", jettest::shelfDatabase({u"kd=73", 0x6B1D40A5u})},
                 {"columns-deleted.jet", jettest::deletedColumnsDatabase()},
                 {"columns-added.jet", jettest::addedColumnsDatabase()}};
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(folder + "/" + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", name);
            return 1;
        }
    }
    return 0;
}
