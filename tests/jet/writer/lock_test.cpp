// Sessions of one process exclude each other as sessions of two processes do: readers share
// the file, a writer has it alone, and one kept out waits up to its timeout, then gives up
// with Busy, or gets in as soon as the other lets go.

#include "jet/writer/locked_file.h"
#include "jet/writer/write_error.h"
#include "tests/jet/writer/writer_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

enum class LetGo { Close, EndWrite };

struct Case {
    const char* name;
    bool firstWrites;
    bool secondWrites;
    bool keptOut;
    LetGo letGo;
};

// Opens the second session and, when it is to write, begins writing.
std::unique_ptr<jet::LockedFile> second(const std::string& path, bool writes,
                                        milliseconds timeout) {
    auto file = jet::LockedFile::open(path, timeout);
    if (writes) {
        file->beginWrite();
    }
    return file;
}

TEST(Locks, ASessionKeptOutWaitsItsTimeOrUntilTheOtherLetsGo) {
    const Case cases[] = {
        {"reader beside a reader", false, false, false, LetGo::Close},
        {"writer beside a reader, which closes", false, true, true, LetGo::Close},
        {"reader beside a writer, which ends its write", true, false, true, LetGo::EndWrite},
        {"writer beside a writer, which closes", true, true, true, LetGo::Close},
    };
    const TempFolder folder;
    const std::string path = folder.file("book.mdb");
    writeFile(path, patternedFile(4, 1));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto first = jet::LockedFile::open(path, milliseconds(200));
        if (c.firstWrites) {
            first->beginWrite();
        }
        const milliseconds shortWait(200);
        auto start = Clock::now();
        try {
            second(path, c.secondWrites, shortWait);
            EXPECT_FALSE(c.keptOut) << "got in beside the first session";
            continue;
        } catch (const jet::WriteError& error) {
            EXPECT_TRUE(c.keptOut) << error.what();
            EXPECT_EQ(error.kind(), jet::WriteError::Kind::Busy);
            EXPECT_GE(Clock::now() - start, shortWait);
        }

        const milliseconds holdOn(150);
        std::thread letGo([&] {
            std::this_thread::sleep_for(holdOn);
            if (c.letGo == LetGo::Close) {
                first.reset();
            } else {
                first->endWrite();
            }
        });
        start = Clock::now();
        EXPECT_NO_THROW(second(path, c.secondWrites, std::chrono::seconds(5)));
        EXPECT_GE(Clock::now() - start, holdOn);
        letGo.join();
    }
}

} // namespace
