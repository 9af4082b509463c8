<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="cs_CZ">
<context>
    <name>hb9cv::TForm1</name>
    <message>
        <source>Výpočet rozměrů antény typu HB9CV</source>
        <translation>Abmessungen einer HB9CV-Antenne</translation>
    </message>
    <message>
        <source>&amp;Počítej</source>
        <translation>&amp;Berechnen</translation>
    </message>
    <message>
        <source>&amp;Nový</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
