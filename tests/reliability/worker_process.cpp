#include "tests/reliability/worker_process.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void closeIfOpen(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

} // namespace

namespace {

// The worker, copied once to a folder every user can read, with a copy of the leak checker's
// suppressions: a worker running as another user may not be able to read the build tree.
struct WorkerFiles {
    QString program;
    std::string leakOptions; // "LSAN_OPTIONS=..." naming the copied suppressions, or empty
};

const WorkerFiles& workerFiles() {
    static QTemporaryDir dir;
    static const WorkerFiles files = [] {
        WorkerFiles f;
        f.program = dir.filePath(QStringLiteral("reliability_worker"));
        if (!dir.isValid() || !QFile::copy(QStringLiteral(RELIABILITY_WORKER_PATH), f.program) ||
            ::chmod(QFile::encodeName(dir.path()).constData(), 0755) != 0 ||
            ::chmod(QFile::encodeName(f.program).constData(), 0755) != 0) {
            throw std::runtime_error("cannot copy the worker program");
        }
        QString options = qEnvironmentVariable("LSAN_OPTIONS");
        static const QRegularExpression suppressions(QStringLiteral("suppressions=([^:]*)"));
        const QRegularExpressionMatch match = suppressions.match(options);
        const QString copy = dir.filePath(QStringLiteral("lsan.supp"));
        if (match.hasMatch() && QFile::copy(match.captured(1), copy)) {
            ::chmod(QFile::encodeName(copy).constData(), 0644);
            options.replace(match.capturedStart(1), match.capturedLength(1), copy);
            f.leakOptions = "LSAN_OPTIONS=" + options.toStdString();
        }
        return f;
    }();
    return files;
}

} // namespace

WorkerProcess::WorkerProcess(const QStringList& arguments, const Options& options) {
    const QString program = workerFiles().program;
    std::vector<std::string> words;
    words.push_back(QFile::encodeName(program).toStdString());
    for (const QString& argument : arguments) {
        words.push_back(argument.toStdString());
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::string leakOptions = workerFiles().leakOptions;
    std::vector<char*> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (leakOptions.empty() || std::strncmp(*variable, "LSAN_OPTIONS=", 13) != 0) {
            environment.push_back(*variable);
        }
    }
    if (!leakOptions.empty()) {
        environment.push_back(leakOptions.data());
    }
    environment.push_back(nullptr);

    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe");
    }
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        throw std::runtime_error("pipe");
    }
    // Everything the child does before exec must be async-signal-safe: the parent may have
    // other threads.
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(toChild[0], STDIN_FILENO);
        ::dup2(fromChild[1], STDOUT_FILENO);
        ::dup2(fromChild[1], STDERR_FILENO);
        if (options.fileSizeLimit) {
            ::signal(SIGXFSZ, SIG_IGN);
            const auto limit = static_cast<rlim_t>(*options.fileSizeLimit);
            const rlimit fsize{limit, limit};
            if (::setrlimit(RLIMIT_FSIZE, &fsize) != 0) {
                ::_exit(126);
            }
        }
        if (options.user) {
            const gid_t group = static_cast<gid_t>(*options.user);
            if (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 ||
                ::setuid(*options.user) != 0) {
                ::_exit(125);
            }
        }
        ::execve(argv[0], argv.data(), environment.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    if (pid_ < 0) {
        ::close(toChild[1]);
        ::close(fromChild[0]);
        throw std::runtime_error("fork");
    }
    in_ = toChild[1];
    out_ = fromChild[0];
}

WorkerProcess::~WorkerProcess() {
    if (running()) {
        kill();
        wait();
    }
    closeIfOpen(in_);
    closeIfOpen(out_);
}

void WorkerProcess::readAvailable(int timeoutMs) {
    if (out_ < 0) {
        return;
    }
    pollfd fd{out_, POLLIN, 0};
    if (::poll(&fd, 1, timeoutMs) <= 0) {
        return;
    }
    char buffer[4096];
    const ssize_t n = ::read(out_, buffer, sizeof buffer);
    if (n > 0) {
        output_.append(buffer, static_cast<qsizetype>(n));
    } else if (n == 0 || errno != EINTR) {
        closeIfOpen(out_); // the worker has closed its end: it has ended
    }
}

bool WorkerProcess::hasLine(const QByteArray& prefix) {
    readAvailable(0);
    return output_.startsWith(prefix) || output_.contains('\n' + prefix);
}

bool WorkerProcess::waitForLine(const QByteArray& prefix, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!hasLine(prefix)) {
        if (out_ < 0 || std::chrono::steady_clock::now() > deadline) {
            return hasLine(prefix);
        }
        readAvailable(20);
    }
    return true;
}

void WorkerProcess::closeInput() {
    closeIfOpen(in_);
}

void WorkerProcess::kill() {
    if (pid_ > 0 && status_ < 0) {
        ::kill(pid_, SIGKILL);
    }
}

bool WorkerProcess::running() {
    if (pid_ <= 0 || status_ >= 0) {
        return false;
    }
    int raw = 0;
    const pid_t r = ::waitpid(pid_, &raw, WNOHANG);
    if (r == pid_) {
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return false;
    }
    return r == 0;
}

int WorkerProcess::wait() {
    while (running()) {
        readAvailable(20);
    }
    while (out_ >= 0) {
        readAvailable(20);
    }
    return status_;
}

QByteArray WorkerProcess::output() {
    readAvailable(0);
    return output_;
}

QStringList linesStartingWith(const QByteArray& output, const QByteArray& prefix) {
    QStringList lines;
    for (const QByteArray& line : output.split('\n')) {
        if (line.startsWith(prefix)) {
            lines.append(QString::fromUtf8(line.mid(prefix.size())));
        }
    }
    return lines;
}

QStringList errorDescriptions(const QByteArray& output) {
    QStringList descriptions;
    for (const QString& line : linesStartingWith(output, "error ")) {
        descriptions.append(line.section(QLatin1Char(' '), 1));
    }
    return descriptions;
}
