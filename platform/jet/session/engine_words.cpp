#include "jet/session/engine_words.h"

#include "textrules/sqlite_api.h"

#include <filesystem>
#include <system_error>

namespace platform {
namespace {

bool isFile(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

// The journal and the lock file sit beside the file under its own name.
std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

std::string lockFileName(const std::string& path) {
    return std::filesystem::path(path).stem().string() + ".ldb";
}

EngineWords withAdvice(const std::string& engine, const std::string& advice, int code) {
    return {engine + '\n' + advice, code};
}

// The shop program's lock file keeps its names as the other machine's code page wrote them;
// plain letters and digits, which such names are, read the same in any of them. Read as
// Latin-1, anything else still comes out as valid UTF-8.
std::string latin1Name(const std::string& bytes) {
    std::string name;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            name += c;
        } else {
            name += static_cast<char>(0xC0 | (byte >> 6));
            name += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return name;
}

EngineWords inUseByShopProgramWords(const std::string& names, const std::string& path) {
    const std::size_t end = names.find('\n');
    const std::string user = latin1Name(names.substr(0, end));
    const std::string machine =
        end == std::string::npos ? std::string() : latin1Name(names.substr(end + 1));
    return withAdvice("Could not update; currently locked by user '" + user + "' on machine '" +
                          machine + "'.",
                      "โปรแกรมร้านกำลังเปิดไฟล์ " + fileName(path) +
                          " อยู่ ให้ปิดโปรแกรมร้านทุกเครื่องก่อน แล้วลองใหม่ (ถ้าปิดหมดแล้ว ให้ลบไฟล์ " +
                          lockFileName(path) + " ที่อยู่ข้างกัน)",
                      SQLITE_BUSY);
}

} // namespace

EngineWords fileNotFoundWords(const std::string& path) {
    return {"Could not find file '" + path + "'.", SQLITE_CANTOPEN};
}

EngineWords unrecognizedFormatWords(const std::string& path) {
    return {"Unrecognized database format '" + path + "'.", SQLITE_NOTADB};
}

EngineWords invalidPasswordWords() {
    return {"Not a valid password.", SQLITE_AUTH};
}

EngineWords fileInUseWords(const std::string& path) {
    return {"Could not use '" + path +
                "'; file already in use. Another program is writing to it; try again when it "
                "has finished.",
            SQLITE_BUSY};
}

EngineWords readOnlyWords() {
    return {"Cannot update. Database or object is read-only.", SQLITE_READONLY};
}

EngineWords diskFullWords() {
    return {"Not enough space on disk.", SQLITE_FULL};
}

EngineWords diskErrorWords(const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        return {fileNotFoundWords(path).text, SQLITE_IOERR};
    }
    return {"Disk or network error.", SQLITE_IOERR};
}

EngineWords unsupportedStatementWords() {
    return {"Operation is not supported for this type of object.", SQLITE_AUTH};
}

EngineWords readErrorWords(const jet::ReadError& error, const std::string& path) {
    switch (error.kind()) {
    case jet::ReadError::Kind::NotJet4:
        return unrecognizedFormatWords(path);
    case jet::ReadError::Kind::Damaged:
        return {unrecognizedFormatWords(path).text, SQLITE_CORRUPT};
    case jet::ReadError::Kind::Io:
        break;
    }
    if (!isFile(path)) {
        return fileNotFoundWords(path);
    }
    return {"Disk or network error.", SQLITE_IOERR};
}

EngineWords writeErrorWords(const jet::WriteError& error, const std::string& path) {
    using Kind = jet::WriteError::Kind;
    const std::string& detail = error.detail();
    const std::string file = fileName(path);
    switch (error.kind()) {
    case Kind::ReadOnly:
        return withAdvice(readOnlyWords().text,
                          "ตรวจสอบว่าไฟล์ " + file +
                              " และโฟลเดอร์ที่เก็บไฟล์ไม่ได้เป็นแบบอ่านอย่างเดียว แล้วลองใหม่",
                          SQLITE_READONLY);
    case Kind::Busy:
        return fileInUseWords(path);
    case Kind::InUseByShopProgram:
        return inUseByShopProgramWords(detail, path);
    case Kind::DiskFull:
        return diskFullWords();
    case Kind::Io:
        return diskErrorWords(path);
    case Kind::UnfinishedChange:
        return {"ไฟล์ " + file +
                    " มีการบันทึกที่ค้างอยู่จากครั้งก่อน และโปรแกรมยังย้อนคืนไม่ได้ จึงยังเปิดไฟล์ไม่ได้\n"
                    "ให้ตรวจสอบว่าไฟล์และโฟลเดอร์เขียนได้ แล้วเปิดโปรแกรมใหม่ (ห้ามลบไฟล์ " +
                    file + "-journal)",
                SQLITE_CANTOPEN};
    case Kind::DuplicateKey:
        return {"The changes you requested to the table were not successful because they would "
                "create duplicate values in the index, primary key, or relationship. Change the "
                "data in the field or fields that contain duplicate data, remove the index, or "
                "redefine the index to permit duplicate entries and try again.",
                SQLITE_CONSTRAINT_UNIQUE};
    case Kind::RelatedRecordRequired:
        return {"You cannot add or change a record because a related record is required in "
                "table '" +
                    detail + "'.",
                SQLITE_CONSTRAINT_FOREIGNKEY};
    case Kind::RelatedRecordsExist:
        return {"The record cannot be deleted or changed because table '" + detail +
                    "' includes related records.",
                SQLITE_CONSTRAINT_FOREIGNKEY};
    case Kind::FieldTooSmall:
        return {"The field is too small to accept the amount of data you attempted to add. Try "
                "inserting or pasting less data.",
                SQLITE_TOOBIG};
    case Kind::UnknownKey:
        return {"เปลี่ยนเป็นรหัส '" + detail +
                    "' ในไฟล์นี้ไม่ได้ เพราะโปรแกรมยังคำนวณลำดับในดัชนีของรหัสนี้ให้ตรงกับโปรแกรมฐานข้อมูลไม่ได้ "
                    "จึงไม่ได้แก้ไขข้อมูลใด ๆ\nให้ใช้รหัสที่มีเฉพาะตัวอักษร A-Z ตัวเลข ช่องว่าง และเครื่องหมาย - "
                    "' . _ หรือรหัสที่มีอยู่แล้วในตารางเรื่อง",
                SQLITE_CONSTRAINT};
    case Kind::Unsupported:
        break;
    }
    return {"โปรแกรมแก้ไขไฟล์นี้ให้ถูกต้องแน่นอนไม่ได้ จึงไม่ได้แก้ไขข้อมูลใด ๆ\nให้เปลี่ยนรหัสด้วยโปรแกรมร้านแทน\n(" +
                detail + ")",
            SQLITE_ERROR};
}

} // namespace platform
