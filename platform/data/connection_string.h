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
// a value in double or single quotes may hold ';', and a doubled quote inside stands for
// one. Later keys win, as in OLE DB.
ConnectionParameters parseConnectionString(const QString& text);

// A value as it must be written into a connection string to come back unchanged: as it is,
// unless a ';', a leading quote or leading space would cut or change it; then in double
// quotes with any double quote inside doubled.
QString connectionStringValue(const QString& value);

} // namespace platform
