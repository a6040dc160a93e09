#pragma once

// The main window's own words. Spaces inside the texts are part of them.

namespace MainWindowTexts {

inline constexpr const char* kTitle = "โปรแกรมสำหรับเปลี่ยนรหัสชื่อหนังสือ";
inline constexpr const char* kOldFrame = "รหัสหนังสือเดิม";
inline constexpr const char* kNewFrame = "รหัสหนังสือใหม่";
inline constexpr const char* kCodeLabel = "รหัสหนังสือ :";
inline constexpr const char* kCountLabel = "จำนวนหนังสือ :";
inline constexpr const char* kCopies = "เล่ม";
inline constexpr const char* kFindCaption = "..";
inline constexpr const char* kDeleteOld = "ลบรหัสหนังสือเดิมเมื่อบันทึกเปลี่ยนรหัสชื่อหนังสือ";
inline constexpr const char* kHeading = "เปลี่ยนรหัสชื่อหนังสือ";

inline constexpr const char* kFileNotFound = "ไม่พบไฟล์  ";
inline constexpr const char* kCopyHint =
    "copy โปรแกรมนี้ไปไว้ใน Path เดียวกับไฟล์ โปรแกรมระบบร้านเช่าหนังสือ";
inline constexpr const char* kAskExit = "ต้องการออกจากโปรแกรม  หรือไม่";

inline constexpr const char* kOldCodeInvalid = "รหัสหนังสือเดิม  ไม่ถูกต้อง";
inline constexpr const char* kNewCodeInvalid = "รหัสหนังสือใหม่  ไม่ถูกต้อง";
inline constexpr const char* kCodesMustDiffer = "รหัสหนังสือเดิมและรหัสหนังสือใหม่ต้องไม่ซ้ำกัน";
inline constexpr const char* kConfirmTitle = "ยืนยันการเปลี่ยนรหัสหนังสือ";
inline constexpr const char* kFrom = "จาก  ";
inline constexpr const char* kTo = "เป็น  ";
inline constexpr const char* kOrNot = "หรือไม่";
inline constexpr const char* kSaved = "เสร็จสิ้นการบันทึกข้อมูล";

} // namespace MainWindowTexts
