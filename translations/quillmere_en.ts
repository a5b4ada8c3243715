<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
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
