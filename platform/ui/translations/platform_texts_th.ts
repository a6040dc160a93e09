<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- The platform's own words that the tool shows, in the Thai a Thai desktop shows for them:
     the message boxes' buttons and the text boxes' context menu. Each keeps a keyboard
     accelerator the way translations into scripts without Latin letters write one, the Latin
     letter in brackets after the word, so Alt and that letter work whatever the words read. -->
<TS version="2.1" language="th_TH">
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>ตกลง (&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>ใช่ (&amp;Y)</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>ไม่ใช่ (&amp;N)</translation>
    </message>
</context>
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>ตกลง (&amp;O)</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>เลิกทำ (&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>ทำซ้ำ (&amp;R)</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>ตัด (&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>คัดลอก (&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>วาง (&amp;P)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>ลบ (&amp;D)</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>เลือกทั้งหมด (&amp;A)</translation>
    </message>
</context>
</TS>
