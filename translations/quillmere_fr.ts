<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>CommandLine</name>
    <message>
        <source>option %1 requires an argument</source>
        <translation>l’option %1 requiert un argument</translation>
    </message>
    <message>
        <source>option requires an argument -- %1</source>
        <translation>l’option requiert un argument -- %1</translation>
    </message>
    <message>
        <source>option %1 doesn&apos;t allow an argument</source>
        <translation>l’option %1 n’accepte pas d’argument</translation>
    </message>
    <message>
        <source>invalid option -- %1</source>
        <translation>option invalide -- %1</translation>
    </message>
    <message>
        <source>unrecognized option %1</source>
        <translation>option non reconnue %1</translation>
    </message>
    <message>
        <source>option %1 is ambiguous; possibilities:%2</source>
        <translation>l’option %1 est ambiguë&#xa0;; possibilités&#xa0;:%2</translation>
    </message>
</context>
<context>
    <name>CommandMessages</name>
    <message>
        <source>&apos;%1&apos;</source>
        <comment>a path or an argument in a message on standard error, in the quotes of the language</comment>
        <translation>«&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Try %1 for more information.
</source>
        <comment>%1 is the program&apos;s name and --help, quoted</comment>
        <translation>Saisissez %1 pour plus d’informations.
</translation>
    </message>
</context>
<context>
    <name>DropRules</name>
    <message>
        <source>It is on another computer; only folders of this computer can be listed.</source>
        <translation>Il se trouve sur un autre ordinateur&#xa0;; seuls les dossiers de cet ordinateur peuvent être listés.</translation>
    </message>
    <message>
        <source>It is not a full path.</source>
        <translation>Ce n’est pas un chemin complet.</translation>
    </message>
    <message>
        <source>No file name can hold a NUL character.</source>
        <translation>Un nom de fichier ne peut pas contenir de caractère NUL.</translation>
    </message>
    <message>
        <source>It is neither a folder nor a file.</source>
        <translation>Ce n’est ni un dossier ni un fichier.</translation>
    </message>
    <message>
        <source>The folder&apos;s name is not valid UTF-8, so the folder list cannot hold it. quillmere-list takes folder names as bytes and lists such a folder.</source>
        <translation>Le nom du dossier n’est pas en UTF-8 valide&#xa0;: la liste des dossiers ne peut donc pas le contenir. quillmere-list lit les noms de dossiers comme des octets et peut lister un tel dossier.</translation>
    </message>
    <message>
        <source>Nothing was added for these dropped items:

%1</source>
        <translation>Ces éléments déposés n’ont pas été ajoutés&#xa0;:

%1</translation>
    </message>
    <message>
        <source>It is not a file or folder of this computer; only those can be listed.</source>
        <translation>Ce n’est ni un fichier ni un dossier de cet ordinateur&#xa0;; seuls ceux-ci peuvent être listés.</translation>
    </message>
    <message>
        <source>Nothing was added for these paths given to Quillmere:

%1</source>
        <translation>Ces chemins n’ont pas été ajoutés&#xa0;:

%1</translation>
    </message>
</context>
<context>
    <name>FileListModel</name>
    <message>
        <source>File Name</source>
        <translation>Nom de fichier</translation>
    </message>
    <message>
        <source>Extension</source>
        <translation>Extension</translation>
    </message>
</context>
<context>
    <name>FileListView</name>
    <message>
        <source>&amp;Copy Name</source>
        <translation>&amp;Copier le nom</translation>
    </message>
</context>
<context>
    <name>FileRows</name>
    <message>
        <source>Too many files to list.</source>
        <translation>Trop de fichiers à lister.</translation>
    </message>
</context>
<context>
    <name>FolderListWidget</name>
    <message>
        <source>&amp;Copy Path</source>
        <translation>&amp;Copier le chemin</translation>
    </message>
    <message>
        <source>&amp;Open in File Manager</source>
        <translation>&amp;Ouvrir dans le gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>%1 (with sub-folders)</source>
        <extracomment>After a folder&apos;s path in the folder list, when the files of all its sub-folders are listed too.</extracomment>
        <translation>%1 (avec les sous-dossiers)</translation>
    </message>
</context>
<context>
    <name>FolderListing</name>
    <message>
        <source>The listing was cancelled.</source>
        <translation>La lecture a été annulée.</translation>
    </message>
    <message>
        <source>The folder cannot be read.</source>
        <translation>Le dossier ne peut pas être lu.</translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <translation>Le dossier n’existe pas.</translation>
    </message>
    <message>
        <source>File system loop detected; it is the same folder as %1</source>
        <translation>Boucle détectée dans le système de fichiers&#xa0;; c’est le même dossier que %1</translation>
    </message>
    <message>
        <source>Its folder was moved or replaced while it was listed.</source>
        <translation>Son dossier a été déplacé ou remplacé pendant qu’il était listé.</translation>
    </message>
</context>
<context>
    <name>FrmFilenameReader</name>
    <message>
        <source> List of Folder:</source>
        <translation> Liste des dossiers&#xa0;:</translation>
    </message>
    <message>
        <source>Add</source>
        <extracomment>The two buttons beside the band have room for about 9 narrow letters; the accessible name carries the long form.</extracomment>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Add folder</source>
        <translation>Ajouter un dossier</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>As narrow as Add.</extracomment>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Remove folder</source>
        <translation>Retirer le dossier</translation>
    </message>
    <message>
        <source> List of files in selected folders:</source>
        <translation> Fichiers de ces dossiers&#xa0;:</translation>
    </message>
    <message>
        <source>Remove</source>
        <comment>file</comment>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Remove file</source>
        <translation>Retirer le fichier</translation>
    </message>
    <message>
        <source>Save List to TXT File</source>
        <translation>Enregistrer au format TXT</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Infos</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Text File (*.txt)</source>
        <translation>Fichier texte (*.txt)</translation>
    </message>
</context>
<context>
    <name>ListingNotice</name>
    <message numerus="yes">
        <source>%Ln files listed</source>
        <translation>
            <numerusform>%Ln fichier listé</numerusform>
            <numerusform>%Ln fichiers listés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The folders listed hold no files.</source>
        <extracomment>Over the empty file list; the count is of the folders listed.</extracomment>
        <translation>
            <numerusform>Le dossier listé ne contient aucun fichier.</numerusform>
            <numerusform>Les dossiers listés ne contiennent aucun fichier.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The folders listed hold only sub-folders.</source>
        <translation>
            <numerusform>Le dossier listé ne contient que des sous-dossiers.</numerusform>
            <numerusform>Les dossiers listés ne contiennent que des sous-dossiers.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>The list cannot be sorted; its files stay in the order of their folders.

%1</source>
        <translation>La liste ne peut pas être triée&#xa0;; ses fichiers restent dans l’ordre de leurs dossiers.

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
        <translation>Ce programme écrit une liste de fichiers dans un fichier texte.

Mode d’emploi&#xa0;:
1. Ajoutez un dossier pour en lister les fichiers (choisissez un fichier du dossier)
2. Modifiez les dossiers choisis avec «&#xa0;Ajouter&#xa0;» et «&#xa0;Retirer&#xa0;»
3. Modifiez la liste des fichiers avec «&#xa0;Retirer&#xa0;»
4. Enregistrez la liste des fichiers au format TXT

Créé par&#xa0;: quillmere@example.org
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
        <translation>Ces dossiers n’ont pas pu être listés&#xa0;; leurs fichiers ne sont pas dans la liste&#xa0;:

%1</translation>
    </message>
    <message>
        <source>The list could not be saved to
%1

%2</source>
        <translation>La liste n’a pas pu être enregistrée dans
%1

%2</translation>
    </message>
    <message>
        <source>The list is still being saved to
%1

Quillmere closes as soon as the save has ended. If you quit now, the list is not saved and the file keeps its old contents.</source>
        <translation>La liste est encore en cours d’enregistrement dans
%1

Quillmere se fermera dès la fin de l’enregistrement. Si vous quittez maintenant, la liste n’est pas enregistrée et le fichier garde son ancien contenu.</translation>
    </message>
    <message>
        <source>&amp;Quit Without Saving</source>
        <translation>&amp;Quitter sans enregistrer</translation>
    </message>
    <message>
        <source>The list was not saved to
%1
The file keeps its old contents.</source>
        <translation>La liste n’a pas été enregistrée dans
%1
Le fichier garde son ancien contenu.</translation>
    </message>
    <message>
        <source>The list was not saved to
%1
The file keeps its old contents, but this temporary file could not be removed:
%2</source>
        <translation>La liste n’a pas été enregistrée dans
%1
Le fichier garde son ancien contenu, mais ce fichier temporaire n’a pas pu être supprimé&#xa0;:
%2</translation>
    </message>
    <message>
        <source>The list was saved to
%1
but the system has not yet confirmed that it is on the disk.</source>
        <translation>La liste a été enregistrée dans
%1
mais le système n’a pas encore confirmé qu’elle est écrite sur le disque.</translation>
    </message>
    <message numerus="yes">
        <source>and %Ln more</source>
        <translation>
            <numerusform>et %Ln autre</numerusform>
            <numerusform>et %Ln autres</numerusform>
        </translation>
    </message>
    <message>
        <source>The folder
%1
could not be opened: no file manager was found to open it.</source>
        <translation>Le dossier
%1
n’a pas pu être ouvert&#xa0;: aucun gestionnaire de fichiers n’a été trouvé pour l’ouvrir.</translation>
    </message>
</context>
<context>
    <name>NamePattern</name>
    <message>
        <source>unknown character class &apos;[:%1:]&apos;</source>
        <translation>classe de caractères inconnue «&#xa0;[:%1:]&#xa0;»</translation>
    </message>
    <message>
        <source>unclosed &apos;[&apos;</source>
        <translation>«&#xa0;[&#xa0;» non fermé</translation>
    </message>
    <message>
        <source>equivalence class other than a single character</source>
        <translation>classe d’équivalence qui n’est pas un seul caractère</translation>
    </message>
    <message>
        <source>collating symbol other than a single character</source>
        <translation>symbole de collation qui n’est pas un seul caractère</translation>
    </message>
    <message>
        <source>equivalence class as the end of a range</source>
        <translation>classe d’équivalence en fin d’intervalle</translation>
    </message>
</context>
<context>
    <name>PortalDialog</name>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <source>Choose Folder</source>
        <translation>Choisir un dossier</translation>
    </message>
</context>
<context>
    <name>Quillmere</name>
    <message>
        <source>Usage: quillmere [OPTION]... [PATH]...
</source>
        <translation>Utilisation&#xa0;: quillmere [OPTION]... [CHEMIN]...
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
        <translation>Ouvre la fenêtre de Quillmere en listant les fichiers de chaque dossier CHEMIN&#xa0;;
un CHEMIN qui est un fichier vaut pour son dossier, comme lorsqu’il est déposé
sur la fenêtre. Un CHEMIN peut être une adresse file://&#xa0;; les autres adresses
(smb://, http://, ...) et les chemins qui n’ajoutent rien sont signalés dans un
seul avertissement dès que la fenêtre s’affiche.

      --help     afficher cette aide et quitter
      --version  afficher les informations de version et quitter

Un CHEMIN qui commence par «&#xa0;-&#xa0;» se place après «&#xa0;--&#xa0;». Les options propres
à Qt ne sont pas prises en compte&#xa0;; ses variables d’environnement, comme
QT_QPA_PLATFORM, le sont.

Code de sortie&#xa0;:
 0  si tout va bien,
 1  si un enregistrement lancé ne s’est pas bien terminé et que la fenêtre n’a
      pas pu le signaler (la session a mis fin au programme, ou «&#xa0;Quitter sans
      enregistrer&#xa0;» l’a abandonné),
 2  si l’utilisation était incorrecte.

La documentation complète est disponible localement via&#xa0;: man quillmere
</translation>
    </message>
</context>
<context>
    <name>QuillmereList</name>
    <message>
        <source>Usage: quillmere-list [OPTION]... FOLDER...
</source>
        <translation>Utilisation&#xa0;: quillmere-list [OPTION]... DOSSIER...
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
        <translation>Lister les fichiers ordinaires de chaque DOSSIER, un nom par ligne, comme la
fenêtre de Quillmere les liste&#xa0;: les mêmes fichiers dans le même ordre.
Avec -o, FICHIER reçoit les octets qu’écrit l’enregistrement de la fenêtre,
chaque nom suivi de CR LF&#xa0;; sur la sortie standard, chaque nom se termine par
LF seul, comme l’attendent les outils Unix.

Les arguments obligatoires pour les options longues le sont aussi pour les
options courtes.
  -a, --all             lister aussi les fichiers cachés, et avec -r les
                          sous-dossiers cachés
      --escape          écrire les noms comme la fenêtre les affiche, en
                          échappant les caractères de contrôle, bidi et
                          invisibles (par défaut quand la sortie standard est
                          un terminal)
      --exclude=MOTIF   omettre les fichiers dont le nom correspond à MOTIF
      --ignore-case     comparer --include et --exclude sans tenir compte de la
                          casse, comme le fait «&#xa0;Retirer tous les fichiers
                          .EXT&#xa0;» dans la fenêtre
      --include=MOTIF   ne lister que les fichiers dont le nom correspond à
                          MOTIF&#xa0;; --include et --exclude peuvent être indiqués
                          plusieurs fois
      --line-end=FIN    terminer chaque nom par crlf ou lf, où que la liste
                          aille
      --literal         écrire les noms octet par octet (par défaut vers un
                          tube ou un fichier)
  -0, --null            terminer plutôt chaque nom par un octet NUL, pour
                          xargs -0
  -o, --output=FICHIER  écrire la liste dans FICHIER, en le remplaçant en
                          entier, au lieu de la sortie standard&#xa0;; «&#xa0;-&#xa0;» est la
                          sortie standard
  -r, --recursive       lister aussi les fichiers de tous les sous-dossiers,
                          chacun par son chemin depuis le DOSSIER indiqué&#xa0;; les
                          liens vers des dossiers ne sont pas suivis
      --reverse         inverser l’ordre du tri
      --sort=CLÉ        trier par ordre croissant selon CLÉ, name ou extension,
                          comme les en-têtes de colonne de la fenêtre, avec -r
                          d’abord par dossier&#xa0;; sans cette option, dans l’ordre
                          du système de fichiers
  -h, --help            afficher cette aide et quitter
  -V, --version         afficher les informations de version et quitter

Les dossiers sont listés dans l’ordre indiqué, un dossier indiqué deux fois une
seule fois&#xa0;; ce sont des chemins, jamais des adresses comme smb://. MOTIF est
comparé au seul nom du fichier, comme le fait find -name, dans les caractères
de la locale&#xa0;: «&#xa0;*&#xa0;» des caractères quelconques, «&#xa0;?&#xa0;» un seul, «&#xa0;[...]&#xa0;» un
caractère d’un ensemble, comme «&#xa0;[[:alpha:]]&#xa0;» une lettre. Un fichier est listé
s’il correspond à un --include (ou si aucun n’est indiqué) et à aucun
--exclude.

Code de sortie&#xa0;:
 0  si tout va bien,
 1  si un dossier n’a pas pu être listé (les autres sont tout de même écrits),
      ou si la liste n’a pas pu être triée (elle est écrite dans l’ordre du
      système de fichiers),
 2  si l’utilisation était incorrecte ou si la liste n’a pas pu être écrite (un
      fichier de sortie existant reste alors tel quel),
 3  si la liste a été écrite dans FICHIER mais que le système n’a pas pu
      confirmer qu’elle se trouve sur le disque, ou si le propriétaire, le
      groupe, les droits d’accès, l’ACL ou un attribut étendu du FICHIER
      remplacé n’ont pas pu être conservés (chacun est nommé).

La documentation complète est disponible localement via&#xa0;: man quillmere-list
</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <comment>what is wrong with a pattern of --include or --exclude, then the pattern</comment>
        <translation>%1 dans %2</translation>
    </message>
    <message>
        <source>unknown sort key %1: name or extension</source>
        <comment>name and extension are the values --sort takes, as they are typed</comment>
        <translation>clé de tri inconnue %1 (valeurs possibles&#xa0;: name, extension)</translation>
    </message>
    <message>
        <source>--reverse turns a sorted list round; give --sort too</source>
        <translation>--reverse inverse une liste triée&#xa0;; indiquez aussi --sort</translation>
    </message>
    <message>
        <source>unknown line end %1: crlf or lf</source>
        <comment>crlf and lf are the values --line-end takes, as they are typed</comment>
        <translation>fin de ligne inconnue %1 (valeurs possibles&#xa0;: crlf, lf)</translation>
    </message>
    <message>
        <source>--null ends names with NUL; --line-end cannot be given too</source>
        <translation>--null termine les noms par NUL&#xa0;; --line-end ne peut pas être indiqué en plus</translation>
    </message>
    <message>
        <source>--escape and --literal cannot both be given</source>
        <translation>--escape et --literal ne peuvent pas être indiqués ensemble</translation>
    </message>
    <message>
        <source>the output file&apos;s name must be valid UTF-8 and not empty; redirect standard output instead</source>
        <translation>le nom du fichier de sortie doit être en UTF-8 valide et non vide&#xa0;; redirigez plutôt la sortie standard</translation>
    </message>
    <message>
        <source>no folder given</source>
        <translation>aucun dossier indiqué</translation>
    </message>
    <message>
        <source>an empty --include matches no name</source>
        <translation>un --include vide ne correspond à aucun nom</translation>
    </message>
    <message>
        <source>cannot list %1: %2</source>
        <translation>impossible de lister %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>cannot sort: %1</source>
        <translation>impossible de trier&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>the output file, then something its save could not confirm or keep</comment>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>impossible d’écrire %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>impossible d’écrire sur la sortie standard&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 matches no name, as no name holds %2: --include and --exclude match a file&apos;s name, not its path</source>
        <translation>%1 ne correspond à aucun nom, car aucun nom ne contient %2&#xa0;: --include et --exclude comparent le nom d’un fichier, pas son chemin</translation>
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
        <translation>Ajouter un dossier</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Retirer</translation>
    </message>
    <message>
        <source>Remove Folder</source>
        <translation>Retirer le dossier</translation>
    </message>
    <message>
        <source>Remove File</source>
        <translation>Retirer le fichier</translation>
    </message>
    <message>
        <source>Copy All &amp;Names</source>
        <translation>Copier tous les &amp;noms</translation>
    </message>
    <message>
        <source>Copy All &amp;Paths</source>
        <translation>Copier tous les c&amp;hemins</translation>
    </message>
    <message>
        <source>Save List to TXT File</source>
        <translation>Enregistrer au format TXT</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Infos</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Read Folders &amp;Again</source>
        <translation>R&amp;elire les dossiers</translation>
    </message>
    <message>
        <source>Read Folders Again</source>
        <translation>Relire les dossiers</translation>
    </message>
    <message>
        <source>Include &amp;Sub-folders</source>
        <translation>Inclure les &amp;sous-dossiers</translation>
    </message>
    <message>
        <source>Use &amp;Parent Folder</source>
        <translation>Utiliser le dossier &amp;parent</translation>
    </message>
    <message>
        <source>Choose &amp;Folder…</source>
        <translation>Choisir un &amp;dossier…</translation>
    </message>
    <message>
        <source>Choose Folder</source>
        <translation>Choisir un dossier</translation>
    </message>
    <message>
        <source>Include Sub-folders</source>
        <translation>Inclure les sous-dossiers</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>Réta&amp;blir</translation>
    </message>
    <message>
        <source>Remove &amp;All Files Without Extension</source>
        <translation>Retirer &amp;tous les fichiers sans extension</translation>
    </message>
    <message>
        <source>Remove &amp;All .%1 Files</source>
        <translation>Retirer &amp;tous les fichiers .%1</translation>
    </message>
    <message>
        <source>&amp;Keep Only Files Without Extension</source>
        <translation>&amp;Garder seulement les fichiers sans extension</translation>
    </message>
    <message>
        <source>&amp;Keep Only .%1 Files</source>
        <translation>&amp;Garder seulement les fichiers .%1</translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Stops the work; Esc does the same</source>
        <translation>Arrêter l’opération (Échap)</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Annulation…</translation>
    </message>
    <message>
        <source>Sorting the list...
Press Esc or Cancel to stop.</source>
        <translation>Tri de la liste…
Échap ou «&#xa0;Annuler&#xa0;» pour arrêter.</translation>
    </message>
    <message numerus="yes">
        <source>Reading %1
%Ln files found so far
Press Esc or Cancel to stop.</source>
        <translation>
            <numerusform>Lecture de %1
%Ln fichier trouvé pour l’instant
Échap ou «&#xa0;Annuler&#xa0;» pour arrêter.</numerusform>
            <numerusform>Lecture de %1
%Ln fichiers trouvés pour l’instant
Échap ou «&#xa0;Annuler&#xa0;» pour arrêter.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>saveText</name>
    <message>
        <source>The list was saved, but the system could not confirm that it is on the disk: %1</source>
        <translation>La liste a été enregistrée, mais le système n’a pas pu confirmer qu’elle est écrite sur le disque&#xa0;: %1</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>Ce n’est pas un fichier ordinaire.</translation>
    </message>
    <message>
        <source>The list was saved, but the ACL could not be kept: %1</source>
        <translation>La liste a été enregistrée, mais l’ACL n’a pas pu être conservée&#xa0;: %1</translation>
    </message>
    <message>
        <source>The list was saved, but its extended attributes could not be read to keep them: %1</source>
        <translation>La liste a été enregistrée, mais les attributs étendus du fichier n’ont pas pu être lus, ni donc conservés&#xa0;: %1</translation>
    </message>
    <message>
        <source>The list was saved, but the extended attribute %1 could not be kept: %2</source>
        <translation>La liste a été enregistrée, mais l’attribut étendu %1 n’a pas pu être conservé&#xa0;: %2</translation>
    </message>
    <message>
        <source>The list was saved, but its owner and group could not be kept: %1</source>
        <translation>La liste a été enregistrée, mais son propriétaire et son groupe n’ont pas pu être conservés&#xa0;: %1</translation>
    </message>
    <message>
        <source>The list was saved, but its owner could not be kept: %1</source>
        <translation>La liste a été enregistrée, mais son propriétaire n’a pas pu être conservé&#xa0;: %1</translation>
    </message>
    <message>
        <source>The list was saved, but its group could not be kept: %1</source>
        <translation>La liste a été enregistrée, mais son groupe n’a pas pu être conservé&#xa0;: %1</translation>
    </message>
    <message>
        <source>The list was saved without its set-user-ID and set-group-ID bits, as its owner or group could not be kept.</source>
        <translation>La liste a été enregistrée sans ses bits set-user-ID et set-group-ID, car son propriétaire ou son groupe n’a pas pu être conservé.</translation>
    </message>
    <message>
        <source>The list was saved, but its mode could not be kept: %1</source>
        <translation>La liste a été enregistrée, mais ses droits d’accès n’ont pas pu être conservés&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1; the temporary file %2 could not be removed: %3</source>
        <translation>%1&#xa0;; le fichier temporaire %2 n’a pas pu être supprimé&#xa0;: %3</translation>
    </message>
    <message>
        <source>The save was given up.</source>
        <translation>L’enregistrement a été interrompu.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be written: %2</source>
        <translation>Impossible d’écrire dans le dossier %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>The folder %1 was moved or removed during the save</source>
        <translation>Le dossier %1 a été déplacé ou supprimé pendant l’enregistrement</translation>
    </message>
    <message>
        <source>The folder %1 was moved to %2 during the save</source>
        <translation>Le dossier %1 a été déplacé vers %2 pendant l’enregistrement</translation>
    </message>
    <message>
        <source>%1 in the folder that was at %2</source>
        <translation>%1 dans le dossier situé auparavant à %2</translation>
    </message>
</context>
<context>
    <name>showTextAndExit</name>
    <message>
        <source>write error: %1</source>
        <translation>erreur d’écriture&#xa0;: %1</translation>
    </message>
</context>
</TS>
