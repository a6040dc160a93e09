// Times what the tool does for each code it shows: open a recordset on its own connection,
// read the first row, close. Prints figures; judges nothing.
//
//   jet_lookup_timing <book.mdb> [password] [code] [runs]

#include "data/adodb.h"
#include "tests/jet/fixture_files.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Figures {
    double median;
    double p95;
    double worst;
    QString value;
};

Figures timeRecordset(const QString& sql, const QString& connection, const QString& field,
                      int runs) {
    std::vector<double> milliseconds;
    QString value;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        adodb::Recordset rs;
        rs.Open(sql, connection, adodb::adOpenKeyset, adodb::adLockOptimistic);
        if (!rs.Eof()) {
            value =
                field.isEmpty() ? rs.Fields(0).Value.toString() : rs.Fields(field).Value.toString();
        }
        rs.Close();
        milliseconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    return {milliseconds[milliseconds.size() / 2], milliseconds[milliseconds.size() * 95 / 100],
            milliseconds.back(), value};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s <book.mdb> [password] [code] [runs]\n", argv[0]);
        return 2;
    }
    const QString connection = jetConnectionString(args[1], args.value(2, QStringLiteral("kd=73")));
    const QString code = args.value(3, QStringLiteral("KH-0001"));
    const int runs = std::max(1, args.value(4, QStringLiteral("200")).toInt());
    const QString story = QStringLiteral("SELECT * FROM Story Where BStrID = '%1' ").arg(code);
    const QString count =
        QStringLiteral("SELECT COUNT(*) FROM Book Where BStrID = '%1' ").arg(code);

    timeRecordset(story, connection, QStringLiteral("BStrName"), 3); // warm the page cache
    const Figures storyFigures = timeRecordset(story, connection, QStringLiteral("BStrName"), runs);
    const Figures countFigures = timeRecordset(count, connection, QString(), runs);
    std::printf("%d runs each, open + first row + close, milliseconds\n", runs);
    std::printf("Story lookup  median %.3f  p95 %.3f  worst %.3f  (BStrName %s)\n",
                storyFigures.median, storyFigures.p95, storyFigures.worst,
                qPrintable(storyFigures.value));
    std::printf("Book COUNT    median %.3f  p95 %.3f  worst %.3f  (%s copies)\n",
                countFigures.median, countFigures.p95, countFigures.worst,
                qPrintable(countFigures.value));
    return 0;
}
