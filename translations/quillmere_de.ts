<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CommandLine</name>
    <message>
        <source>option %1 requires an argument</source>
        <translation>Option %1 erfordert ein Argument</translation>
    </message>
    <message>
        <source>option requires an argument -- %1</source>
        <translation>Option erfordert ein Argument -- %1</translation>
    </message>
    <message>
        <source>option %1 doesn&apos;t allow an argument</source>
        <translation>Option %1 erlaubt kein Argument</translation>
    </message>
    <message>
        <source>invalid option -- %1</source>
        <translation>ungültige Option -- %1</translation>
    </message>
    <message>
        <source>unrecognized option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>option %1 is ambiguous; possibilities:%2</source>
        <translation>Option %1 ist mehrdeutig; Möglichkeiten:%2</translation>
    </message>
</context>
<context>
    <name>CommandMessages</name>
    <message>
        <source>&apos;%1&apos;</source>
        <comment>a path or an argument in a message on standard error, in the quotes of the language</comment>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>Try %1 for more information.
</source>
        <comment>%1 is the program&apos;s name and --help, quoted</comment>
        <translation>%1 liefert weitere Informationen.
</translation>
    </message>
</context>
<context>
    <name>DropRules</name>
    <message>
        <source>It is on another computer; only folders of this computer can be listed.</source>
        <translation>Es liegt auf einem anderen Computer; nur Ordner auf diesem Computer können aufgelistet werden.</translation>
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
        <translation>Nur Ordner auf diesem Computer können aufgelistet werden.</translation>
    </message>
    <message>
        <source>Nothing was added for these paths given to Quillmere:

%1</source>
        <translation>Folgende Pfade wurden nicht hinzugefügt:

%1</translation>
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
        <translation>Endung</translation>
    </message>
</context>
<context>
    <name>FileListView</name>
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
        <source>File system loop detected; it is the same folder as %1</source>
        <translation>Schleife im Dateisystem erkannt; es ist derselbe Ordner wie %1</translation>
    </message>
    <message>
        <source>Its folder was moved or replaced while it was listed.</source>
        <translation>Sein Ordner wurde während des Auflistens verschoben oder ersetzt.</translation>
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
        <translation>Anfügen</translation>
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
    <name>ListingNotice</name>
    <message numerus="yes">
        <source>%Ln files listed</source>
        <translation>
            <numerusform>%Ln Datei aufgelistet</numerusform>
            <numerusform>%Ln Dateien aufgelistet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The folders listed hold no files.</source>
        <extracomment>Over the empty file list; the count is of the folders listed.</extracomment>
        <translation>
            <numerusform>Der aufgelistete Ordner enthält keine Dateien.</numerusform>
            <numerusform>Die aufgelisteten Ordner enthalten keine Dateien.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The folders listed hold only sub-folders.</source>
        <translation>
            <numerusform>Der aufgelistete Ordner enthält nur Unterordner.</numerusform>
            <numerusform>Die aufgelisteten Ordner enthalten nur Unterordner.</numerusform>
        </translation>
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
2. Die Ordner mit „Anfügen“ und „Entfernen“ ändern
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
    <name>NamePattern</name>
    <message>
        <source>unknown character class &apos;[:%1:]&apos;</source>
        <translation>unbekannte Zeichenklasse „[:%1:]“</translation>
    </message>
    <message>
        <source>unclosed &apos;[&apos;</source>
        <translation>nicht geschlossenes „[“</translation>
    </message>
    <message>
        <source>equivalence class other than a single character</source>
        <translation>Äquivalenzklasse aus mehr oder weniger als einem Zeichen</translation>
    </message>
    <message>
        <source>collating symbol other than a single character</source>
        <translation>Sortiersymbol aus mehr oder weniger als einem Zeichen</translation>
    </message>
    <message>
        <source>equivalence class as the end of a range</source>
        <translation>Äquivalenzklasse als Ende eines Bereichs</translation>
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
    <message>
        <source>Choose Folder</source>
        <translation>Ordner auswählen</translation>
    </message>
</context>
<context>
    <name>Quillmere</name>
    <message>
        <source>Usage: quillmere [OPTION]... [PATH]...
</source>
        <translation>Aufruf: quillmere [OPTION]... [PFAD]...
</translation>
    </message>
    <message>
        <source>Opens Quillmere&apos;s window, listing the files of each folder PATH; a file PATH
stands for its folder, as when it is dropped on the window. A PATH may be a
file:// address; other addresses (smb://, http://, ...) and paths that add
nothing are named in one warning once the window shows.

      --help     display this help and exit
      --version  output version information and exit

A PATH that starts with &apos;-&apos; follows &apos;--&apos;. Qt&apos;s own options are not taken;
its environment variables, such as QT_QPA_PLATFORM, are.

Exit status:
 0  if OK,
 1  if a save it started did not end well and the window could not say so
      (the session ended the program, or Quit Without Saving gave it up),
 2  if the usage was wrong.

Full documentation is available locally via: man quillmere
</source>
        <translation>Öffnet das Fenster von Quillmere und listet die Dateien jedes Ordners PFAD auf;
ein PFAD, der eine Datei ist, steht für ihren Ordner, wie beim Ablegen auf dem
Fenster. Ein PFAD darf eine file://-Adresse sein; andere Adressen (smb://,
http://, ...) und Pfade, die nichts hinzufügen, werden in einer Warnung
genannt, sobald das Fenster erscheint.

      --help     diese Hilfe anzeigen und beenden
      --version  Versionsinformationen anzeigen und beenden

Ein PFAD, der mit „-“ beginnt, steht nach „--“. Die eigenen Optionen von Qt
werden nicht angenommen, seine Umgebungsvariablen wie QT_QPA_PLATFORM schon.

Beendigungsstatus:
 0  bei Erfolg,
 1  wenn ein begonnenes Speichern nicht gut endete und das Fenster das nicht
      mehr melden konnte (die Sitzung hat das Programm beendet, oder „Ohne
      Speichern beenden“ hat es abgebrochen),
 2  wenn der Aufruf falsch war.

Vollständige Dokumentation ist lokal verfügbar mit: man quillmere
</translation>
    </message>
</context>
<context>
    <name>QuillmereList</name>
    <message>
        <source>Usage: quillmere-list [OPTION]... FOLDER...
</source>
        <translation>Aufruf: quillmere-list [OPTION]... ORDNER...
</translation>
    </message>
    <message>
        <source>List the plain files of each FOLDER, one name per line, as Quillmere&apos;s window
lists them: the same files in the same order. With -o, FILE holds the bytes the
window&apos;s save writes, each name followed by CR LF; on standard output each name
ends with LF alone, as Unix tools expect.

Mandatory arguments to long options are mandatory for short options too.
  -a, --all             list hidden files too, and with -r hidden sub-folders
      --escape          write names as the window shows them, escaping control,
                          bidi and invisible characters (the default when
                          standard output is a terminal)
      --exclude=GLOB    leave out files whose name matches GLOB
      --ignore-case     match --include and --exclude ignoring letter case, as
                          the window&apos;s Remove All .EXT Files does
      --include=GLOB    list only files whose name matches GLOB; --include and
                          --exclude may be given more than once
      --line-end=END    end every name with crlf or lf, wherever the list goes
      --literal         write names byte for byte (the default to a pipe or file)
  -0, --null            end every name with a NUL byte instead, for xargs -0
  -o, --output=FILE     write the list to FILE, replacing it as a whole, instead
                          of to standard output; &apos;-&apos; is standard output
  -r, --recursive       list the files of all sub-folders too, each by its path
                          from the FOLDER given; links to folders are not
                          followed
      --reverse         turn the sorted order round
      --sort=KEY        sort ascending by KEY, name or extension, as the window&apos;s
                          column headers do, with -r by folder first; without
                          it, the file system&apos;s order
  -h, --help            display this help and exit
  -V, --version         output version information and exit

Folders are listed in the order given, a folder given twice once; they are
paths, never addresses such as smb://. GLOB is matched against the file&apos;s name
only, as find -name matches it, in the characters of the locale: &apos;*&apos; any
characters, &apos;?&apos; one, &apos;[...]&apos; one of a set, such as &apos;[[:alpha:]]&apos; a letter. A
file is listed when it matches some --include (or none is given) and no
--exclude.

Exit status:
 0  if OK,
 1  if a folder could not be listed (the others are still written), or the
      list could not be sorted (it is written in the file system&apos;s order),
 2  if the usage was wrong or the list could not be written (an existing
      output file is then left as it was),
 3  if the list was written to FILE but the system could not confirm that it
      is on the disk, or the replaced FILE&apos;s owner, group, mode, ACL or an
      extended attribute could not be kept (each is named).

Full documentation is available locally via: man quillmere-list
</source>
        <translation>Die regulären Dateien jedes ORDNERs auflisten, ein Name je Zeile, so wie das
Fenster von Quillmere sie auflistet: dieselben Dateien in derselben
Reihenfolge. Mit -o erhält DATEI die Bytes, die das Speichern im Fenster
schreibt, jeder Name gefolgt von CR LF; auf der Standardausgabe endet jeder
Name nur mit LF, wie es Unix-Werkzeuge erwarten.

Erforderliche Argumente für lange Optionen sind auch für kurze erforderlich.
  -a, --all             auch versteckte Dateien auflisten, mit -r auch
                          versteckte Unterordner
      --escape          Namen so schreiben, wie das Fenster sie zeigt, Steuer-,
                          Bidi- und unsichtbare Zeichen maskiert (Standard,
                          wenn die Standardausgabe ein Terminal ist)
      --exclude=MUSTER  Dateien auslassen, deren Name auf MUSTER passt
      --ignore-case     bei --include und --exclude Groß- und Kleinschreibung
                          nicht unterscheiden, wie „Alle .EXT-Dateien
                          entfernen“ im Fenster
      --include=MUSTER  nur Dateien auflisten, deren Name auf MUSTER passt;
                          --include und --exclude dürfen mehrmals angegeben
                          werden
      --line-end=ENDE   jeden Namen mit crlf oder lf beenden, wohin die Liste
                          auch geht
      --literal         Namen Byte für Byte schreiben (Standard in eine Pipe
                          oder Datei)
  -0, --null            jeden Namen stattdessen mit einem NUL-Byte beenden, für
                          xargs -0
  -o, --output=DATEI    die Liste statt in die Standardausgabe in DATEI
                          schreiben und diese als Ganzes ersetzen; „-“ ist die
                          Standardausgabe
  -r, --recursive       auch die Dateien aller Unterordner auflisten, jede mit
                          ihrem Pfad ab dem angegebenen ORDNER; symbolischen
                          Verknüpfungen auf Ordner wird nicht gefolgt
      --reverse         die sortierte Reihenfolge umkehren
      --sort=SCHLÜSSEL  aufsteigend nach SCHLÜSSEL sortieren, name oder
                          extension, wie die Spaltenköpfe des Fensters, mit -r
                          zuerst nach Ordner; ohne diese Option in der
                          Reihenfolge des Dateisystems
  -h, --help            diese Hilfe anzeigen und beenden
  -V, --version         Versionsinformationen anzeigen und beenden

Ordner werden in der angegebenen Reihenfolge aufgelistet, ein doppelt
angegebener Ordner einmal; sie sind Pfade, niemals Adressen wie smb://. MUSTER
wird nur mit dem Namen der Datei verglichen, wie find -name es tut, in den
Zeichen der Locale: „*“ beliebig viele Zeichen, „?“ eines, „[...]“ eines aus
einer Menge, etwa „[[:alpha:]]“ ein Buchstabe. Eine Datei wird aufgelistet,
wenn sie auf ein --include passt (oder keines angegeben ist) und auf kein
--exclude.

Beendigungsstatus:
 0  bei Erfolg,
 1  wenn ein Ordner nicht aufgelistet werden konnte (die anderen werden
      trotzdem geschrieben) oder die Liste nicht sortiert werden konnte (sie
      wird in der Reihenfolge des Dateisystems geschrieben),
 2  wenn der Aufruf falsch war oder die Liste nicht geschrieben werden konnte
      (eine vorhandene Ausgabedatei bleibt dann unverändert),
 3  wenn die Liste in DATEI geschrieben wurde, das System aber nicht bestätigen
      konnte, dass sie auf dem Datenträger ist, oder Eigentümer, Gruppe,
      Zugriffsrechte, ACL oder ein erweitertes Attribut der ersetzten DATEI
      nicht erhalten werden konnten (jedes wird genannt).

Vollständige Dokumentation ist lokal verfügbar mit: man quillmere-list
</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <comment>what is wrong with a pattern of --include or --exclude, then the pattern</comment>
        <translation>%1 in %2</translation>
    </message>
    <message>
        <source>unknown sort key %1: name or extension</source>
        <comment>name and extension are the values --sort takes, as they are typed</comment>
        <translation>unbekannter Sortierschlüssel %1 (erlaubt: name, extension)</translation>
    </message>
    <message>
        <source>--reverse turns a sorted list round; give --sort too</source>
        <translation>--reverse kehrt eine sortierte Liste um; bitte auch --sort angeben</translation>
    </message>
    <message>
        <source>unknown line end %1: crlf or lf</source>
        <comment>crlf and lf are the values --line-end takes, as they are typed</comment>
        <translation>unbekanntes Zeilenende %1 (erlaubt: crlf, lf)</translation>
    </message>
    <message>
        <source>--null ends names with NUL; --line-end cannot be given too</source>
        <translation>--null beendet Namen mit NUL; --line-end kann nicht zusätzlich angegeben werden</translation>
    </message>
    <message>
        <source>--escape and --literal cannot both be given</source>
        <translation>--escape und --literal können nicht zusammen angegeben werden</translation>
    </message>
    <message>
        <source>the output file&apos;s name must be valid UTF-8 and not empty; redirect standard output instead</source>
        <translation>der Name der Ausgabedatei muss gültiges UTF-8 sein und darf nicht leer sein; stattdessen die Standardausgabe umleiten</translation>
    </message>
    <message>
        <source>no folder given</source>
        <translation>kein Ordner angegeben</translation>
    </message>
    <message>
        <source>an empty --include matches no name</source>
        <translation>ein leeres --include passt auf keinen Namen</translation>
    </message>
    <message>
        <source>cannot list %1: %2</source>
        <translation>%1 kann nicht aufgelistet werden: %2</translation>
    </message>
    <message>
        <source>cannot sort: %1</source>
        <translation>Sortieren nicht möglich: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>the output file, then something its save could not confirm or keep</comment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>in die Standardausgabe kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>%1 matches no name, as no name holds %2: --include and --exclude match a file&apos;s name, not its path</source>
        <translation>%1 passt auf keinen Namen, da kein Name %2 enthält: --include und --exclude vergleichen den Namen einer Datei, nicht ihren Pfad</translation>
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
    <message>
        <source>Choose &amp;Folder…</source>
        <translation>&amp;Ordner auswählen …</translation>
    </message>
    <message>
        <source>Choose Folder</source>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <source>Include Sub-folders</source>
        <translation>Unterordner einbeziehen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Remove &amp;All Files Without Extension</source>
        <translation>&amp;Alle Dateien ohne Endung entfernen</translation>
    </message>
    <message>
        <source>Remove &amp;All .%1 Files</source>
        <translation>&amp;Alle .%1-Dateien entfernen</translation>
    </message>
    <message>
        <source>&amp;Keep Only Files Without Extension</source>
        <translation>&amp;Nur Dateien ohne Endung behalten</translation>
    </message>
    <message>
        <source>&amp;Keep Only .%1 Files</source>
        <translation>&amp;Nur .%1-Dateien behalten</translation>
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
Mit Esc oder „Abbrechen“ anhalten.</translation>
    </message>
    <message numerus="yes">
        <source>Reading %1
%Ln files found so far
Press Esc or Cancel to stop.</source>
        <translation>
            <numerusform>%1 wird gelesen
Bisher %Ln Datei gefunden
Mit Esc oder „Abbrechen“ anhalten.</numerusform>
            <numerusform>%1 wird gelesen
Bisher %Ln Dateien gefunden
Mit Esc oder „Abbrechen“ anhalten.</numerusform>
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
    <message>
        <source>The folder %1 was moved or removed during the save</source>
        <translation>Der Ordner %1 wurde während des Speicherns verschoben oder entfernt</translation>
    </message>
    <message>
        <source>The folder %1 was moved to %2 during the save</source>
        <translation>Der Ordner %1 wurde während des Speicherns nach %2 verschoben</translation>
    </message>
    <message>
        <source>%1 in the folder that was at %2</source>
        <translation>%1 im zuvor unter %2 gelegenen Ordner</translation>
    </message>
</context>
<context>
    <name>showTextAndExit</name>
    <message>
        <source>write error: %1</source>
        <translation>Schreibfehler: %1</translation>
    </message>
</context>
</TS>
