<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- The platform's own words that the tool shows, in the Thai a Thai desktop shows for them:
     the message boxes' buttons and the text boxes' context menu. -->
<TS version="2.1" language="th_TH">
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>ตกลง</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>ใช่</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>ไม่ใช่</translation>
    </message>
</context>
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>ตกลง</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>เลิกทำ</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>ทำซ้ำ</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>ตัด</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>คัดลอก</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>วาง</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>ลบ</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>เลือกทั้งหมด</translation>
    </message>
</context>
</TS>
