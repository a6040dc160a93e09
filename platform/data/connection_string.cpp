#include "data/connection_string.h"

namespace platform {
namespace {

// Reads one value starting at pos; leaves pos on the ';' that ends it, or at the end.
QString readValue(const QString& text, qsizetype& pos) {
    while (pos < text.size() && text[pos] == u' ') {
        ++pos;
    }
    if (pos < text.size() && (text[pos] == u'"' || text[pos] == u'\'')) {
        const QChar quote = text[pos];
        QString value;
        for (qsizetype i = pos + 1; i < text.size(); ++i) {
            if (text[i] != quote) {
                value += text[i];
            } else if (i + 1 < text.size() && text[i + 1] == quote) {
                value += quote; // a doubled quote stands for one
                ++i;
            } else {
                pos = i + 1;
                while (pos < text.size() && text[pos] != u';') {
                    ++pos;
                }
                return value;
            }
        }
        // No closing quote: the value is read as it stands.
    }
    qsizetype end = text.indexOf(u';', pos);
    if (end < 0) {
        end = text.size();
    }
    const QString value = text.mid(pos, end - pos);
    pos = end;
    return value;
}

} // namespace

QString connectionStringValue(const QString& value) {
    const bool plain =
        !value.contains(u';') &&
        !(value.startsWith(u'"') || value.startsWith(u'\'') || value.startsWith(u' '));
    if (plain) {
        return value;
    }
    QString doubled = value;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

ConnectionParameters parseConnectionString(const QString& text) {
    ConnectionParameters result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype equals = text.indexOf(u'=', pos);
        const qsizetype semicolon = text.indexOf(u';', pos);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            if (semicolon < 0) {
                break; // a trailing fragment without '=' names nothing
            }
            pos = semicolon + 1;
            continue;
        }
        const QString key = text.mid(pos, equals - pos).trimmed();
        pos = equals + 1;
        const QString value = readValue(text, pos);
        if (pos < text.size()) {
            ++pos; // the ';'
        }
        if (key.compare(u"Provider", Qt::CaseInsensitive) == 0) {
            result.provider = value.trimmed();
        } else if (key.compare(u"Data Source", Qt::CaseInsensitive) == 0) {
            result.dataSource = value;
        } else if (key.compare(u"Jet OLEDB:Database Password", Qt::CaseInsensitive) == 0) {
            result.password = value;
        }
    }
    return result;
}

} // namespace platform
