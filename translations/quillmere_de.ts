<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>FrmFilenameReader</name>
    <message>
        <source>%1
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These folders could not be listed; their files are left out of the list:

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorting the list...
Press Esc or Cancel to stop.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading %1
%2 found so far
Press Esc or Cancel to stop.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list could not be saved to
%1

%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The list cannot be sorted; its files stay in the order of their folders.

%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stops the work; Esc does the same</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
