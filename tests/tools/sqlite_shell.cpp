#include "tests/tools/sqlite_shell.h"

#include <QProcessEnvironment>
#include <QStandardPaths>

#include <link.h>

#if defined(__SANITIZE_ADDRESS__)
#define SANITIZED_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SANITIZED_BUILD 1
#endif
#endif

namespace {

QString shellProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
}

#ifdef SANITIZED_BUILD
// In a sanitizer build an extension needs the AddressSanitizer runtime, which the sqlite3
// program does not carry: lend it the shared runtime this test runs with. Empty if there is
// none to lend (a runtime linked in statically).
QString sanitizerRuntime() {
    QString found;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* result) {
            const QString name = QString::fromLocal8Bit(info->dlpi_name);
            if (name.contains(QLatin1String("libasan.so")) ||
                name.contains(QLatin1String("libclang_rt.asan"))) {
                *static_cast<QString*>(result) = name;
                return 1;
            }
            return 0;
        },
        &found);
    return found;
}
#endif

QProcessEnvironment shellEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
#ifdef SANITIZED_BUILD
    environment.insert(QStringLiteral("LD_PRELOAD"), sanitizerRuntime());
    // The shell's own allocations at exit are not ours to judge.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
#endif
    return environment;
}

// The module without its ".so", as a person would type it after .load: the shell then finds
// the file and derives the entry point from its name.
QString withoutSuffix(QString module) {
    module.chop(3);
    return module;
}

} // namespace

std::string sqliteShellMissing() {
#ifdef SANITIZED_BUILD
    if (sanitizerRuntime().isEmpty()) {
        return "the extensions need the sanitizer runtime, and there is no shared one to "
               "preload into sqlite3";
    }
#endif
    if (shellProgram().isEmpty()) {
        return "sqlite3 is not on PATH (Debian package sqlite3)";
    }
    return {};
}

ProgramRun runSqliteShell(const QString& database, const QString& module,
                          const QStringList& commands) {
    QStringList arguments{QStringLiteral("-batch"), QStringLiteral("-bail"), database};
    if (!module.isEmpty()) {
        arguments << QStringLiteral(".load ") + withoutSuffix(module);
    }
    return runProgram(shellProgram(), arguments + commands, shellEnvironment());
}
