#pragma once

#include <QString>
#include <QTemporaryDir>

// A store in a folder of its own that disappears with the object.
class TempStore {
public:
    static constexpr const char* kPassword = "kd=73";

    // Creates book.mdb with the shop's schema, then runs the script (';'-separated).
    explicit TempStore(const QString& script = QString(), const QString& password = kPassword);

    QString folder() const { return dir_.path(); }
    QString path() const { return dir_.filePath(QStringLiteral("book.mdb")); }
    QString connectionString() const;
    void run(const QString& script) const;
    // The single value of a query, read on a connection of its own; "<null>" for NULL.
    QString scalar(const QString& sql) const;

private:
    QTemporaryDir dir_;
    QString password_;
};

// SQL text literal for a value: the value in apostrophes, inner apostrophes doubled. Kept
// apart from the tool's own quoting, so fixtures built with it cannot share that code's faults.
QString sqlLiteral(const QString& value);
