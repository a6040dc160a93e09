#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <chrono>
#include <optional>

// The store worker run as a separate process, so a test can kill it at any moment, give it
// another user or a file-size limit, or let it hold a lock while the test works on.
class WorkerProcess {
public:
    struct Options {
        std::optional<uid_t> user;              // run as this user and its group
        std::optional<long long> fileSizeLimit; // RLIMIT_FSIZE in bytes; SIGXFSZ ignored
    };

    WorkerProcess(const QStringList& arguments, const Options& options);
    explicit WorkerProcess(const QStringList& arguments) : WorkerProcess(arguments, Options{}) {}
    ~WorkerProcess(); // kills a worker still running
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    // Waits until the worker has printed a line that starts with prefix; false if it ended
    // (or the time ran out) first.
    bool waitForLine(const QByteArray& prefix,
                     std::chrono::milliseconds limit = std::chrono::seconds(60));
    // True once the worker's output holds a line starting with prefix (does not wait).
    bool hasLine(const QByteArray& prefix);
    // Closes the worker's standard input: a holding worker takes it as the sign to let go.
    void closeInput();
    void kill();
    // Waits for the end; the exit code, or 128 + signal when a signal ended it.
    int wait();
    bool running();
    pid_t pid() const { return pid_; }
    // Everything the worker printed so far.
    QByteArray output();

private:
    void readAvailable(int timeoutMs);

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    int status_ = -1;
    QByteArray output_;
};

// The lines a worker printed that start with prefix, without it.
QStringList linesStartingWith(const QByteArray& output, const QByteArray& prefix);

// The descriptions of the errors a worker reported ("error <code> <description>").
QStringList errorDescriptions(const QByteArray& output);
