#include "data/jet_write_messages.h"

#include "data/engine_messages.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace platform {
namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

DbError withAdvice(const QString& engine, const QString& advice, int code) {
    return DbError(engine + QLatin1Char('\n') + advice, code);
}

} // namespace

DbError unsupportedStatementError() {
    return DbError(QStringLiteral("Operation is not supported for this type of object."),
                   SQLITE_AUTH);
}

DbError writeErrorMessage(const jet::WriteError& error, const QString& path) {
    using Kind = jet::WriteError::Kind;
    const QString detail = fromUtf8(error.detail());
    // The journal and lock file sit beside the file under its own name.
    const QString file = QFileInfo(path).fileName();
    switch (error.kind()) {
    case Kind::ReadOnly:
        return withAdvice(QStringLiteral("Cannot update. Database or object is read-only."),
                          QStringLiteral("ตรวจสอบว่าไฟล์ %1 และโฟลเดอร์ที่เก็บไฟล์ไม่ได้เป็นแบบอ่านอย่างเดียว "
                                         "แล้วลองใหม่")
                              .arg(file),
                          SQLITE_READONLY);
    case Kind::Busy:
        return translateSqliteError(SQLITE_BUSY, QString(), path);
    case Kind::InUseByShopProgram: {
        // The lock file keeps the names as the other machine's code page wrote them; plain
        // letters and digits, which such names are, read the same in any of them.
        const QString names = QString::fromLatin1(error.detail().data(),
                                                  static_cast<qsizetype>(error.detail().size()));
        const QString user = names.section(QLatin1Char('\n'), 0, 0);
        const QString machine = names.section(QLatin1Char('\n'), 1, 1);
        return withAdvice(
            QStringLiteral("Could not update; currently locked by user '%1' on machine '%2'.")
                .arg(user, machine),
            QStringLiteral("โปรแกรมร้านกำลังเปิดไฟล์ %1 อยู่ ให้ปิดโปรแกรมร้านทุกเครื่องก่อน "
                           "แล้วลองใหม่ (ถ้าปิดหมดแล้ว ให้ลบไฟล์ %2 ที่อยู่ข้างกัน)")
                .arg(file, QFileInfo(path).completeBaseName() + QStringLiteral(".ldb")),
            SQLITE_BUSY);
    }
    case Kind::DiskFull:
        return DbError(QStringLiteral("Not enough space on disk."), SQLITE_FULL);
    case Kind::Io:
        return translateSqliteError(SQLITE_IOERR, QString(), path);
    case Kind::UnfinishedChange:
        return DbError(
            QStringLiteral("ไฟล์ %1 มีการบันทึกที่ค้างอยู่จากครั้งก่อน และโปรแกรมยังย้อนคืนไม่ได้ "
                           "จึงยังเปิดไฟล์ไม่ได้\nให้ตรวจสอบว่าไฟล์และโฟลเดอร์เขียนได้ แล้วเปิดโปรแกรมใหม่ "
                           "(ห้ามลบไฟล์ %1-journal)")
                .arg(file),
            SQLITE_CANTOPEN);
    case Kind::DuplicateKey:
        return DbError(
            QStringLiteral("The changes you requested to the table were not successful because "
                           "they would create duplicate values in the index, primary key, or "
                           "relationship. Change the data in the field or fields that contain "
                           "duplicate data, remove the index, or redefine the index to permit "
                           "duplicate entries and try again."),
            SQLITE_CONSTRAINT_UNIQUE);
    case Kind::RelatedRecordRequired:
        return DbError(QStringLiteral("You cannot add or change a record because a related "
                                      "record is required in table '%1'.")
                           .arg(detail),
                       SQLITE_CONSTRAINT_FOREIGNKEY);
    case Kind::RelatedRecordsExist:
        return DbError(QStringLiteral("The record cannot be deleted or changed because table "
                                      "'%1' includes related records.")
                           .arg(detail),
                       SQLITE_CONSTRAINT_FOREIGNKEY);
    case Kind::FieldTooSmall:
        return DbError(QStringLiteral("The field is too small to accept the amount of data you "
                                      "attempted to add. Try inserting or pasting less data."),
                       SQLITE_TOOBIG);
    case Kind::UnknownKey:
        return DbError(
            QStringLiteral("เปลี่ยนเป็นรหัส '%1' ในไฟล์นี้ไม่ได้ เพราะโปรแกรมยังคำนวณลำดับในดัชนีของรหัสนี้"
                           "ให้ตรงกับโปรแกรมฐานข้อมูลไม่ได้ จึงไม่ได้แก้ไขข้อมูลใด ๆ\n"
                           "ให้ใช้รหัสที่มีเฉพาะตัวอักษร A-Z ตัวเลข ช่องว่าง และเครื่องหมาย - ' . _ "
                           "หรือรหัสที่มีอยู่แล้วในตารางเรื่อง")
                .arg(detail),
            SQLITE_CONSTRAINT);
    case Kind::Unsupported:
        break;
    }
    return DbError(QStringLiteral("โปรแกรมแก้ไขไฟล์นี้ให้ถูกต้องแน่นอนไม่ได้ จึงไม่ได้แก้ไขข้อมูลใด ๆ\n"
                                  "ให้เปลี่ยนรหัสด้วยโปรแกรมร้านแทน\n(%1)")
                       .arg(detail),
                   SQLITE_ERROR);
}

} // namespace platform
