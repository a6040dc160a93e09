// A separate process that changes a file through LockedFile, so a test can stop it dead
// at any of the calls that write or sync (see call_faults.h for the counting wrappers and
// "kill N" or "fail N").
//
//   crash_worker commit <file> <first:count:step:grow> [kill|fail N]
//       opens the file, writes the PageChange, prints "result ok" or "result error <kind>"
//   crash_worker open <file> [kill|fail N]
//       opens the file, which plays back a journal left beside it, and prints "result ok"
//
// Then it prints the report of the calls (printCallReport).

#include "jet/reader/read_error.h"
#include "jet/writer/locked_file.h"
#include "jet/writer/write_error.h"
#include "tests/jet/writer/call_faults.h"
#include "tests/jet/writer/page_change.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: crash_worker commit|open <file> [...]\n", stderr);
        return 2;
    }
    const std::string mode = argv[1];
    armCallFault(argc, argv, mode == "commit" ? 4 : 3);
    try {
        auto file = jet::LockedFile::open(argv[2], std::chrono::seconds(5));
        if (mode == "commit") {
            const PageChange change = PageChange::parse(argv[3]);
            const auto pageCount =
                static_cast<std::uint32_t>(file->reader()->size() / jet::kPageSize);
            file->beginWrite();
            file->writePages(change.pages(pageCount), change.newPageCount(pageCount));
            file->endWrite();
        }
        std::puts("result ok");
    } catch (const jet::WriteError& error) {
        std::printf("result error %d %s\n", static_cast<int>(error.kind()), error.what());
    } catch (const jet::ReadError& error) {
        std::printf("result readerror %s\n", error.what());
    }
    printCallReport();
    return 0;
}
