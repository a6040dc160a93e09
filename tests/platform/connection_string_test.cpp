#include "data/connection_string.h"

#include "tests/testkit/gtest_qt.h"

namespace {

struct ParseCase {
    const char* text;
    const char* provider;
    const char* dataSource;
    const char* password;
};

class ConnectionStringParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ConnectionStringParsing, FindsProviderFileAndPassword) {
    const ParseCase& c = GetParam();
    const platform::ConnectionParameters p =
        platform::parseConnectionString(QString::fromUtf8(c.text));
    EXPECT_EQ(p.provider, QString::fromUtf8(c.provider));
    EXPECT_EQ(p.dataSource, QString::fromUtf8(c.dataSource));
    EXPECT_EQ(p.password, QString::fromUtf8(c.password));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectionStringParsing,
    ::testing::Values(
        ParseCase{"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/shop/book.mdb;Persist Security "
                  "Info=False;Jet OLEDB:Database Password=kd=73",
                  "Microsoft.Jet.OLEDB.4.0", "/shop/book.mdb", "kd=73"},
        ParseCase{"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/ร้าน หนังสือ/book.mdb;Jet "
                  "OLEDB:Database Password=",
                  "Microsoft.Jet.OLEDB.4.0", "/ร้าน หนังสือ/book.mdb", ""},
        ParseCase{"provider=x;DATA SOURCE=\"/a;b/book.mdb\";jet oledb:database password='p;w'", "x",
                  "/a;b/book.mdb", "p;w"},
        ParseCase{"", "", "", ""}, ParseCase{";;Data Source=a;junk", "", "a", ""},
        ParseCase{"Data Source=a;Data Source=b", "", "b", ""},
        ParseCase{"Data Source=\"say \"\"hi\"\";x\";Provider=p", "p", "say \"hi\";x", ""}));

TEST(ConnectionStringValue, ComesBackUnchangedFromTheParser) {
    for (const char* value : {"/shop/book.mdb", "/a;b/book.mdb", "\"quoted\"", "'single'", " lead",
                              "a\"b;c", "kd=73", ""}) {
        const QString text = QStringLiteral("Data Source=") +
                             platform::connectionStringValue(QString::fromUtf8(value)) +
                             QStringLiteral(";Provider=x");
        EXPECT_EQ(platform::parseConnectionString(text).dataSource, QString::fromUtf8(value))
            << value;
    }
    EXPECT_EQ(platform::connectionStringValue(QStringLiteral("/shop/book.mdb")), "/shop/book.mdb");
}

} // namespace
