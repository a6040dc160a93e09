#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// The one error the data layer raises: the engine's description, as the user should read
// it, and the engine's own code (an SQLite extended result code) for callers that branch.
class DbError : public std::runtime_error {
public:
    DbError(const QString& description, int nativeError);

    const QString& description() const noexcept { return description_; }
    int nativeError() const noexcept { return nativeError_; }

private:
    QString description_;
    int nativeError_;
};

} // namespace platform
