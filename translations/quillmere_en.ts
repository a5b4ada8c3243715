<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>ListingNotice</name>
    <message numerus="yes">
        <source>%Ln files listed</source>
        <translation>
            <numerusform>%Ln file listed</numerusform>
            <numerusform>%Ln files listed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The folders listed hold no files.</source>
        <comment>Over the empty file list; the count is of the folders listed.</comment>
        <translation>
            <numerusform>The folder listed holds no files.</numerusform>
            <numerusform>The folders listed hold no files.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The folders listed hold only sub-folders.</source>
        <translation>
            <numerusform>The folder listed holds only sub-folders.</numerusform>
            <numerusform>The folders listed hold only sub-folders.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message numerus="yes">
        <source>and %Ln more</source>
        <translation>
            <numerusform>and %Ln more</numerusform>
            <numerusform>and %Ln more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message numerus="yes">
        <source>Reading %1
%Ln files found so far
Press Esc or Cancel to stop.</source>
        <translation>
            <numerusform>Reading %1
%Ln file found so far
Press Esc or Cancel to stop.</numerusform>
            <numerusform>Reading %1
%Ln files found so far
Press Esc or Cancel to stop.</numerusform>
        </translation>
    </message>
</context>
</TS>
