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
// The first library loaded into this test whose name holds one of names, or "".
QString loadedLibrary(const QStringList& names) {
    struct Search {
        const QStringList& names;
        QString found;
    } search{names, {}};
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            auto* into = static_cast<Search*>(data);
            const QString name = QString::fromLocal8Bit(info->dlpi_name);
            for (const QString& wanted : into->names) {
                if (name.contains(wanted)) {
                    into->found = name;
                    return 1;
                }
            }
            return 0;
        },
        &search);
    return search.found;
}

// In a sanitizer build an extension needs the AddressSanitizer runtime, which the sqlite3
// program does not carry: lend it the shared runtime this test runs with. Empty if there is
// none to lend (a runtime linked in statically).
QString sanitizerRuntime() {
    return loadedLibrary({QStringLiteral("libasan.so"), QStringLiteral("libclang_rt.asan")});
}
#endif

QProcessEnvironment shellEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
#ifdef SANITIZED_BUILD
    // The C++ runtime comes in with it: the runtime finds the real throw of an exception when
    // it starts, long before the shell loads an extension that brings the C++ runtime in.
    environment.insert(
        QStringLiteral("LD_PRELOAD"),
        sanitizerRuntime() + QLatin1Char(' ') +
            loadedLibrary({QStringLiteral("libstdc++.so"), QStringLiteral("libc++.so")}));
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
