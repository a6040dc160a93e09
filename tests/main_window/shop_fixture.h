#pragma once

#include <QString>

// A small shop for the window tests: special stories and their copy counts.
//   A0001 ขายหัวเราะ 1,234 copies; B0001 เจ้าหญิงนิทรา 2; Z0000 no copies; BL-0001 name of
//   spaces (3); BL-0002 NULL name (2); O'NEIL1 (4); BIG 40,000; TH-0123 2 + 3 as th-0123.
inline QString shopScript() {
    return QStringLiteral(
        "INSERT INTO Story (BStrID, BStrName) VALUES ('A0001', 'ขายหัวเราะ'),"
        " ('B0001', 'เจ้าหญิงนิทรา'), ('Z0000', 'ไม่มีเล่ม'), ('BL-0001', '     '),"
        " ('BL-0002', NULL), ('O''NEIL1', 'โอ''นีล'), ('BIG', 'เล่มใหญ่'),"
        " ('TH-0123', 'ไก่ทอง');"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000)"
        " INSERT INTO Book (BStrID) SELECT CASE WHEN i <= 1234 THEN 'A0001' ELSE 'BIG' END"
        " FROM n;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1234)"
        " INSERT INTO Book (BStrID) SELECT 'BIG' FROM n;"
        "INSERT INTO Book (BStrID) VALUES ('B0001'), ('B0001'), ('BL-0001'), ('BL-0001'),"
        " ('BL-0001'), ('BL-0002'), ('BL-0002'), ('O''NEIL1'), ('O''NEIL1'), ('O''NEIL1'),"
        " ('O''NEIL1'), ('TH-0123'), ('TH-0123'), ('th-0123'), ('th-0123'), ('th-0123');");
}
