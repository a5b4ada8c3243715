<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>DropRules</name>
    <message>
        <source>It is on another computer; only folders of this computer can be listed.</source>
        <translation>Es liegt auf einem anderen Computer; nur Ordner dieses Computers können aufgelistet werden.</translation>
    </message>
    <message>
        <source>It is not a full path.</source>
        <translation>Das ist kein vollständiger Pfad.</translation>
    </message>
    <message>
        <source>No file name can hold a NUL character.</source>
        <translation>Ein Dateiname darf kein NUL-Zeichen enthalten.</translation>
    </message>
    <message>
        <source>It is neither a folder nor a file.</source>
        <translation>Das ist weder ein Ordner noch eine Datei.</translation>
    </message>
    <message>
        <source>The folder&apos;s name is not valid UTF-8, so the folder list cannot hold it. quillmere-list takes folder names as bytes and lists such a folder.</source>
        <translation>Der Ordnername ist kein gültiges UTF-8 und kann deshalb nicht in die Ordnerliste aufgenommen werden. quillmere-list liest Ordnernamen als Bytes und kann einen solchen Ordner auflisten.</translation>
    </message>
    <message>
        <source>Nothing was added for these dropped items:

%1</source>
        <translation>Folgende abgelegte Elemente wurden nicht hinzugefügt:

%1</translation>
    </message>
    <message>
        <source>It is not a file or folder of this computer; only those can be listed.</source>
        <translation>Das ist weder eine Datei noch ein Ordner dieses Computers; nur solche können aufgelistet werden.</translation>
    </message>
    <message>
        <source>Nothing was added for these paths given to Quillmere:

%1</source>
        <translation>Folgende Pfade wurden nicht hinzugefügt:

%1</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>&amp;Wiederholen</translation>
    </message>
</context>
<context>
    <name>FileListModel</name>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Extension</source>
        <translation>Erweiterung</translation>
    </message>
</context>
<context>
    <name>FileListView</name>
    <message>
        <source>Remove &amp;All Files Without Extension</source>
        <translation>&amp;Alle Dateien ohne Erweiterung entfernen</translation>
    </message>
    <message>
        <source>&amp;Keep Only Files Without Extension</source>
        <translation>&amp;Nur Dateien ohne Erweiterung behalten</translation>
    </message>
    <message>
        <source>Remove &amp;All .%1 Files</source>
        <translation>&amp;Alle .%1-Dateien entfernen</translation>
    </message>
    <message>
        <source>&amp;Keep Only .%1 Files</source>
        <translation>&amp;Nur .%1-Dateien behalten</translation>
    </message>
    <message>
        <source>&amp;Copy Name</source>
        <translation>Namen &amp;kopieren</translation>
    </message>
</context>
<context>
    <name>FileRows</name>
    <message>
        <source>Too many files to list.</source>
        <translation>Zu viele Dateien zum Auflisten.</translation>
    </message>
</context>
<context>
    <name>FolderListWidget</name>
    <message>
        <source>&amp;Copy Path</source>
        <translation>Pfad &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Open in File Manager</source>
        <translation>Im Dateimanager ö&amp;ffnen</translation>
    </message>
    <message>
        <source>%1 (with sub-folders)</source>
        <extracomment>After a folder&apos;s path in the folder list, when the files of all its sub-folders are listed too.</extracomment>
        <translation>%1 (mit Unterordnern)</translation>
    </message>
</context>
<context>
    <name>FolderListing</name>
    <message>
        <source>The listing was cancelled.</source>
        <translation>Das Auflisten wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The folder cannot be read.</source>
        <translation>Der Ordner kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <translation>Der Ordner existiert nicht.</translation>
    </message>
    <message>
        <source>File system loop detected; it is the same folder as %1.</source>
        <translation>Schleife im Dateisystem: Das ist derselbe Ordner wie %1.</translation>
    </message>
</context>
<context>
    <name>FrmFilenameReader</name>
    <message>
        <source> List of Folder:</source>
        <translation> Ordnerliste:</translation>
    </message>
    <message>
        <source>Add</source>
        <extracomment>The two buttons beside the band have room for about 9 narrow letters; the accessible name carries the long form.</extracomment>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Add folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>As narrow as Add.</extracomment>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remove folder</source>
        <translation>Ordner entfernen</translation>
    </message>
    <message>
        <source> List of files in selected folders:</source>
        <translation> Dateien in diesen Ordnern:</translation>
    </message>
    <message>
        <source>Remove</source>
        <comment>file</comment>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remove file</source>
        <translation>Datei entfernen</translation>
    </message>
    <message>
        <source>Save List to TXT File</source>
        <translation>Liste als TXT-Datei speichern</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Text File (*.txt)</source>
        <translation>Textdatei (*.txt)</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>The list cannot be sorted; its files stay in the order of their folders.

%1</source>
        <translation>Die Liste kann nicht sortiert werden; ihre Dateien bleiben in der Reihenfolge ihrer Ordner.

%1</translation>
    </message>
    <message>
        <source>This Program convert list of files into text file.

How To Use:
1. Add folder to collect list of files (chose one file inside the folder)
2. Modify your folder selection with add/remove button
3. Modify your list of files with remove button
4. Save File List into TXT format

Created by: quillmere@example.org
</source>
        <translation>Dieses Programm schreibt eine Liste von Dateien in eine Textdatei.

Anleitung:
1. Einen Ordner hinzufügen, um seine Dateien aufzulisten (dazu eine Datei im Ordner wählen)
2. Die Ordner mit „Neu“ und „Entfernen“ ändern
3. Die Dateiliste mit „Entfernen“ ändern
4. Die Dateiliste als TXT-Datei speichern

Erstellt von: quillmere@example.org
</translation>
    </message>
    <message>
        <source>%1
%2</source>
        <translation>%1
%2</translation>
    </message>
    <message>
        <source>These folders could not be listed; their files are left out of the list:

%1</source>
        <translation>Diese Ordner konnten nicht aufgelistet werden; ihre Dateien fehlen in der Liste:

%1</translation>
    </message>
    <message>
        <source>The list could not be saved to
%1

%2</source>
        <translation>Die Liste konnte nicht in
„%1“
gespeichert werden.

%2</translation>
    </message>
    <message>
        <source>The list is still being saved to
%1

Quillmere closes as soon as the save has ended. If you quit now, the list is not saved and the file keeps its old contents.</source>
        <translation>Die Liste wird noch in
„%1“
gespeichert.

Quillmere wird geschlossen, sobald das Speichern abgeschlossen ist. Wenn Sie jetzt beenden, wird die Liste nicht gespeichert, und die Datei behält ihren bisherigen Inhalt.</translation>
    </message>
    <message>
        <source>&amp;Quit Without Saving</source>
        <translation>Ohne Speichern &amp;beenden</translation>
    </message>
    <message>
        <source>The list was not saved to
%1
The file keeps its old contents.</source>
        <translation>Die Liste wurde nicht in
„%1“
gespeichert. Die Datei behält ihren bisherigen Inhalt.</translation>
    </message>
    <message>
        <source>The list was not saved to
%1
The file keeps its old contents, but this temporary file could not be removed:
%2</source>
        <translation>Die Liste wurde nicht in
„%1“
gespeichert. Die Datei behält ihren bisherigen Inhalt, aber diese temporäre Datei konnte nicht entfernt werden:
%2</translation>
    </message>
    <message>
        <source>The list was saved to
%1
but the system has not yet confirmed that it is on the disk.</source>
        <translation>Die Liste wurde in
„%1“
gespeichert, aber das System hat noch nicht bestätigt, dass sie auf dem Datenträger angekommen ist.</translation>
    </message>
    <message numerus="yes">
        <source>and %Ln more</source>
        <translation>
            <numerusform>und %Ln weiterer Eintrag</numerusform>
            <numerusform>und %Ln weitere Einträge</numerusform>
        </translation>
    </message>
    <message>
        <source>The folder
%1
could not be opened: no file manager was found to open it.</source>
        <translation>Der Ordner
%1
konnte nicht geöffnet werden: Es wurde kein Dateimanager gefunden, der ihn öffnen kann.</translation>
    </message>
</context>
<context>
    <name>PortalDialog</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
</context>
<context>
    <name>WindowCommands</name>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A button&apos;s tool tip: what it does, then its keys, e.g. &quot;Add Folder (Ctrl+O)&quot;.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Remove Folder</source>
        <translation>Ordner entfernen</translation>
    </message>
    <message>
        <source>Remove File</source>
        <translation>Datei entfernen</translation>
    </message>
    <message>
        <source>Copy All &amp;Names</source>
        <translation>Alle Na&amp;men kopieren</translation>
    </message>
    <message>
        <source>Copy All &amp;Paths</source>
        <translation>Alle &amp;Pfade kopieren</translation>
    </message>
    <message>
        <source>Save List to TXT File</source>
        <translation>Liste als TXT-Datei speichern</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Read Folders &amp;Again</source>
        <translation>Ordner erneut ein&amp;lesen</translation>
    </message>
    <message>
        <source>Read Folders Again</source>
        <translation>Ordner erneut einlesen</translation>
    </message>
    <message>
        <source>Include &amp;Sub-folders</source>
        <translation>&amp;Unterordner einbeziehen</translation>
    </message>
    <message>
        <source>Use &amp;Parent Folder</source>
        <translation>Ü&amp;bergeordneten Ordner verwenden</translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Stops the work; Esc does the same</source>
        <translation>Vorgang abbrechen (Esc)</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen …</translation>
    </message>
    <message>
        <source>Sorting the list...
Press Esc or Cancel to stop.</source>
        <translation>Die Liste wird sortiert …
Zum Anhalten Esc drücken oder „Abbrechen“ wählen.</translation>
    </message>
    <message numerus="yes">
        <source>Reading %1
%Ln files found so far
Press Esc or Cancel to stop.</source>
        <translation>
            <numerusform>%1 wird gelesen
Bisher %Ln Datei gefunden
Zum Anhalten Esc drücken oder „Abbrechen“ wählen.</numerusform>
            <numerusform>%1 wird gelesen
Bisher %Ln Dateien gefunden
Zum Anhalten Esc drücken oder „Abbrechen“ wählen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>saveText</name>
    <message>
        <source>The list was saved, but the system could not confirm that it is on the disk: %1</source>
        <translation>Die Liste wurde gespeichert, aber das System konnte nicht bestätigen, dass sie auf dem Datenträger angekommen ist: %1</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>Es ist keine reguläre Datei.</translation>
    </message>
    <message>
        <source>The list was saved, but the ACL could not be kept: %1</source>
        <translation>Die Liste wurde gespeichert, aber die ACL konnte nicht erhalten werden: %1</translation>
    </message>
    <message>
        <source>The list was saved, but its extended attributes could not be read to keep them: %1</source>
        <translation>Die Liste wurde gespeichert, aber die erweiterten Attribute der Datei konnten nicht gelesen und daher nicht erhalten werden: %1</translation>
    </message>
    <message>
        <source>The list was saved, but the extended attribute %1 could not be kept: %2</source>
        <translation>Die Liste wurde gespeichert, aber das erweiterte Attribut %1 konnte nicht erhalten werden: %2</translation>
    </message>
    <message>
        <source>The list was saved, but its owner and group could not be kept: %1</source>
        <translation>Die Liste wurde gespeichert, aber Eigentümer und Gruppe konnten nicht erhalten werden: %1</translation>
    </message>
    <message>
        <source>The list was saved, but its owner could not be kept: %1</source>
        <translation>Die Liste wurde gespeichert, aber der Eigentümer konnte nicht erhalten werden: %1</translation>
    </message>
    <message>
        <source>The list was saved, but its group could not be kept: %1</source>
        <translation>Die Liste wurde gespeichert, aber die Gruppe konnte nicht erhalten werden: %1</translation>
    </message>
    <message>
        <source>The list was saved without its set-user-ID and set-group-ID bits, as its owner or group could not be kept.</source>
        <translation>Die Liste wurde ohne ihre Set-User-ID- und Set-Group-ID-Bits gespeichert, da Eigentümer oder Gruppe nicht erhalten werden konnten.</translation>
    </message>
    <message>
        <source>The list was saved, but its mode could not be kept: %1</source>
        <translation>Die Liste wurde gespeichert, aber ihre Zugriffsrechte konnten nicht erhalten werden: %1</translation>
    </message>
    <message>
        <source>%1; the temporary file %2 could not be removed: %3</source>
        <translation>%1; die temporäre Datei %2 konnte nicht entfernt werden: %3</translation>
    </message>
    <message>
        <source>The save was given up.</source>
        <translation>Das Speichern wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be written: %2</source>
        <translation>In den Ordner %1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
</TS>
