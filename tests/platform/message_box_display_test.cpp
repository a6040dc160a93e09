// The message boxes on an X server, under the desktops and platform themes the tool may meet
// there: Thai buttons with their accelerators and no icons, answered by those keys. Off screen
// Qt never gives a box's buttons icons; on an X server, desktop or none, it does unless the
// box takes them off.

#include "tests/testkit/virtual_display.h"
#include "tests/tools/program_run.h"

#include "tests/testkit/gtest_qt.h"

#include <QFile>
#include <QLibraryInfo>

namespace {

TEST(MessageBoxOnXServer, ButtonsReadThaiWithTheirAcceleratorsAndNoIcon) {
    const auto display = VirtualDisplay::startIfInstalled();
    ASSERT_NE(display, nullptr) << "Xvfb did not start; tools/install-deps.sh installs it";
    ASSERT_TRUE(QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                              QStringLiteral("/platformthemes/libqgtk3.so")))
        << "Qt's GTK platform theme is missing; tools/install-deps.sh installs it";

    struct Session {
        const char* name;
        QStringList environment; // what the session sets, beyond the display
    };
    const Session sessions[] = {
        {"no desktop", {}},
        {"GNOME", {"XDG_CURRENT_DESKTOP=GNOME"}},
        {"KDE", {"XDG_CURRENT_DESKTOP=KDE", "KDE_SESSION_VERSION=5"}},
        {"GTK platform theme", {"QT_QPA_PLATFORMTHEME=gtk3"}},
    };
    // The change question answered Yes by Alt+Y, the same question No by N alone, an error
    // box closed by Alt+O.
    const QStringList presses{"292:Alt+Y", "292:N", "16:Alt+O"};
    const QString expected = QStringLiteral("ใช่ (&Y), ไม่ใช่ (&N) | default ไม่ใช่ (&N) | answer 6\n"
                                            "ใช่ (&Y), ไม่ใช่ (&N) | default ไม่ใช่ (&N) | answer 7\n"
                                            "ตกลง (&O) | default ตกลง (&O) | answer 1\n"
                                            "left open 0\n");
    for (const Session& session : sessions) {
        SCOPED_TRACE(session.name);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* inherited :
             {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "KDE_SESSION_VERSION",
              "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE"}) {
            environment.remove(QString::fromLatin1(inherited));
        }
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(display->name()));
        for (const QString& variable : session.environment) {
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        }
        const ProgramRun run = runProgram(QStringLiteral(MESSAGE_BOX_PROBE), presses, environment);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, expected);
    }
}

} // namespace
