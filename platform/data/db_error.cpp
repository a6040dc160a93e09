#include "data/db_error.h"

namespace platform {

DbError::DbError(const QString& description, int nativeError)
    : std::runtime_error(description.toStdString()), description_(description),
      nativeError_(nativeError) {}

} // namespace platform
