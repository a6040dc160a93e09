#include "tests/jet/writer/jet_oracle.h"

#include "tests/testkit/shared_material.h"

#include <QDir>
#include <QProcess>

namespace {

QString runToEnd(const QString& program, const QStringList& arguments, int* status) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        *status = -1;
        return QStringLiteral("did not finish: ") + program;
    }
    *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAll());
}

} // namespace

void checkerAbsent() {
    if (runningUnderCi()) {
        ADD_FAILURE() << "the independent checker (shared material) is absent under CI";
        return;
    }
    GTEST_SKIP() << "not checked by the independent checker: the shared material beside the "
                    "project is absent";
}

std::optional<OracleRun> runOracle(const QStringList& arguments) {
    const auto shared = sharedMaterialDir();
    if (!shared) {
        return std::nullopt;
    }
    OracleRun run;
    run.output = runToEnd(QDir(*shared).filePath(QStringLiteral("tools/jet-oracle/jet-oracle")),
                          arguments, &run.status);
    return run;
}

std::optional<CheckerVerdict> runJetOracle(const QString& path, const QString& password) {
    QStringList arguments{QStringLiteral("check"), path};
    if (!password.isEmpty()) {
        arguments << password;
    }
    const auto run = runOracle(arguments);
    if (!run) {
        return std::nullopt;
    }
    return CheckerVerdict{run->status == 0 && run->output.contains(QStringLiteral("ORACLE OK")),
                          run->output};
}

std::optional<int> mdbExportRowCount(const QString& path, const QString& table) {
    int status = 0;
    // Escaped, a value cannot hold a line feed of its own: one line per row.
    const QString output =
        runToEnd(QStringLiteral("mdb-export"),
                 {QStringLiteral("-H"), QStringLiteral("-e"), path, table}, &status);
    if (status != 0) {
        return std::nullopt;
    }
    return static_cast<int>(output.count(QLatin1Char('\n')));
}
