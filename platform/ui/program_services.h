#pragma once

#include <QString>

namespace platform {

// Ends the program at once, without the main window's unload step. Tests observe it.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void endNow() = 0;
    virtual bool hasEnded() const = 0;
};

// Leaves the event loop (or keeps it from starting) and remembers that it did.
class QtProgramEnd final : public ProgramEnd {
public:
    void endNow() override;
    bool hasEnded() const override { return ended_; }

private:
    bool ended_ = false;
};

// The folder that holds the program's executable file.
class ProgramFolder {
public:
    virtual ~ProgramFolder() = default;
    virtual QString path() const = 0;
};

class QtProgramFolder final : public ProgramFolder {
public:
    QString path() const override;
};

// A folder named outright, for running the windows on a store kept elsewhere (tests,
// screenshots, benchmarks).
class GivenProgramFolder final : public ProgramFolder {
public:
    explicit GivenProgramFolder(QString path) : path_(std::move(path)) {}
    QString path() const override { return path_; }

private:
    QString path_;
};

// A plain file at path: not a folder, not hidden. The program's own start-up test.
bool isOrdinaryFile(const QString& path);

} // namespace platform
