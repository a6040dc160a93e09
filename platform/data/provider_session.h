#pragma once

#include <QString>
#include <QVariant>

#include <memory>

namespace platform {

// The rows of one query, read forward. The first row is current as soon as it is open.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual bool atEnd() const = 0;
    virtual void moveNext() = 0;
    virtual int fieldCount() const = 0;
    virtual QString fieldName(int index) const = 0;
    // The type the query's source declares for the field as SQL names it ("TEXT",
    // "CURRENCY", ...); empty when the field is an expression.
    virtual QString declaredType(int index) const = 0;
    virtual QVariant value(int index) const = 0;
};

// One open connection to a database file, as the file provider gives it. It outlives
// every row source it hands out.
class ProviderSession {
public:
    virtual ~ProviderSession() = default;
    virtual std::unique_ptr<RowSource> openQuery(const QString& sql) = 0;
    virtual void execute(const QString& sql) = 0;
};

} // namespace platform
