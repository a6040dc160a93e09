#include "tests/reliability/big_store.h"

#include "support/database_access.h"
#include "tests/testkit/temp_store.h"

#include <QFile>

#include <memory>
#include <stdexcept>

namespace big_store {
namespace {

const TempStore& built() {
    // One recursive insert per story inside one transaction: well under a second.
    static const TempStore store(QStringLiteral(
        "INSERT INTO Story (BStrID, BStrName) VALUES ('OLD-1', 'เรื่องเดิม'),"
        " ('NEW-1', 'เรื่องใหม่'), ('OTHER-1', 'เรื่องอื่น');"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000)"
        " INSERT INTO Book (BStrID, VolNo, Price, Status) SELECT 'OLD-1', i, 35, 'shelf' FROM n;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 7)"
        " INSERT INTO Book (BStrID, VolNo) SELECT 'NEW-1', i FROM n;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5)"
        " INSERT INTO Book (BStrID, VolNo) SELECT 'OTHER-1', i FROM n"));
    return store;
}

long long number(Library1::DatabaseAccess& db, const QString& sql) {
    auto rs = db.OpenRecordset(sql, true);
    const long long value = rs->Fields(0).Value.toLongLong();
    rs->Close();
    return value;
}

} // namespace

QString copyInto(const QString& folder) {
    const QString target = folder + QStringLiteral("/book.mdb");
    if (!QFile::copy(built().path(), target)) {
        throw std::runtime_error("cannot copy the large store");
    }
    return target;
}

bool State::noneMoved() const {
    return integrity == QLatin1String("ok") && totalCopies == kAllCopies &&
           oldCopies == kOldCopies && newCopies == kNewCopies && otherCopies == kOtherCopies &&
           oldStory && newStory && otherStory;
}

bool State::allMoved() const {
    return integrity == QLatin1String("ok") && totalCopies == kAllCopies && oldCopies == 0 &&
           newCopies == kOldCopies + kNewCopies && otherCopies == kOtherCopies && newStory &&
           otherStory;
}

QString State::describe() const {
    return QStringLiteral("integrity=%1 old=%2 new=%3 other=%4 total=%5 stories(old,new,other)="
                          "%6%7%8")
        .arg(integrity)
        .arg(oldCopies)
        .arg(newCopies)
        .arg(otherCopies)
        .arg(totalCopies)
        .arg(int(oldStory))
        .arg(int(newStory))
        .arg(int(otherStory));
}

State read(const QString& storePath) {
    Library1::DatabaseAccess db;
    db.InitDatabase(storePath);
    State state;
    {
        auto rs = db.OpenRecordset(QStringLiteral("PRAGMA integrity_check"), true);
        QStringList lines;
        for (; !rs->Eof(); rs->MoveNext()) {
            lines.append(rs->Fields(0).Value.toString());
        }
        rs->Close();
        state.integrity = lines.join(QLatin1Char('\n'));
    }
    const auto copies = [&](const char* code) {
        return number(db, QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = '%1'")
                              .arg(QLatin1String(code)));
    };
    const auto story = [&](const char* code) {
        return number(db, QStringLiteral("SELECT COUNT(*) FROM Story WHERE BStrID = '%1'")
                              .arg(QLatin1String(code))) == 1;
    };
    state.oldCopies = copies("OLD-1");
    state.newCopies = copies("NEW-1");
    state.otherCopies = copies("OTHER-1");
    state.totalCopies = number(db, QStringLiteral("SELECT COUNT(*) FROM Book"));
    state.oldStory = story("OLD-1");
    state.newStory = story("NEW-1");
    state.otherStory = story("OTHER-1");
    return state;
}

} // namespace big_store
