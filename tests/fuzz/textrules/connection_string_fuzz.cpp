// The connection-string parser on any text, and on connection strings built the way the
// tool builds them: every value written raw, or quoted where it holds a ';' or begins with a
// space or a quote, must come back as it went in.

#include "data/connection_string.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

[[noreturn]] void fail(const char* what, const QString& text) {
    std::fprintf(stderr, "%s\nconnection string: '%s'\n", what, text.toUtf8().constData());
    std::abort();
}

// The value as it can be written in a connection string, or nothing if it cannot.
std::optional<QString> written(const QString& value) {
    const bool plain =
        !value.contains(u';') &&
        !(value.startsWith(u' ') || value.startsWith(u'"') || value.startsWith(u'\''));
    if (plain) {
        return value;
    }
    if (!value.contains(u'"')) {
        return u'"' + value + u'"';
    }
    if (!value.contains(u'\'')) {
        return u'\'' + value + u'\'';
    }
    return std::nullopt;
}

QString key(FuzzedDataProvider& input, const char* name) {
    QString k = QString::fromLatin1(name);
    if (input.ConsumeBool()) {
        k = k.toUpper();
    }
    if (input.ConsumeBool()) {
        k = QStringLiteral("  ") + k + QStringLiteral(" ");
    }
    return k;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // Any text at all parses without harm.
    const QString any = QString::fromUtf8(input.ConsumeRandomLengthString(256));
    (void)platform::parseConnectionString(any);

    const QString provider = QString::fromUtf8(input.ConsumeRandomLengthString(32));
    const QString source = QString::fromUtf8(input.ConsumeRandomLengthString(64));
    const QString password = QString::fromUtf8(input.ConsumeRandomLengthString(32));
    const auto p = written(provider);
    const auto s = written(source);
    const auto w = written(password);
    if (!p || !s || !w) {
        return 0;
    }
    const QString text = key(input, "Provider") + u'=' + *p + u';' + key(input, "Data Source") +
                         u'=' + *s + QStringLiteral(";Persist Security Info=False;") +
                         key(input, "Jet OLEDB:Database Password") + u'=' + *w;
    const platform::ConnectionParameters parsed = platform::parseConnectionString(text);
    if (parsed.provider != provider.trimmed()) {
        fail("the provider did not come back", text);
    }
    if (parsed.dataSource != source) {
        fail("the data source did not come back", text);
    }
    if (parsed.password != password) {
        fail("the password did not come back", text);
    }
    return 0;
}
