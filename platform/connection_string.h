#pragma once

#include <QString>

namespace platform {

inline constexpr const char* kFileProviderName = "Microsoft.Jet.OLEDB.4.0";

struct ConnectionParameters {
    QString provider;
    QString dataSource;
    QString password;
};

// Splits "key=value;key=value": keys are matched without regard to case and surrounding
// spaces, a value runs to the next ';' and may itself hold '=' (the password "kd=73" does);
// a value in double or single quotes may hold ';'. Later keys win, as in OLE DB.
ConnectionParameters parseConnectionString(const QString& text);

} // namespace platform
