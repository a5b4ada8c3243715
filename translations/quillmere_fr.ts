<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
    <name>FileList</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>Réta&amp;blir</translation>
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
        <source>Remove &amp;All Files Without Extension</source>
        <translation>Retirer &amp;tous les fichiers sans extension</translation>
    </message>
    <message>
        <source>&amp;Keep Only Files Without Extension</source>
        <translation>&amp;Garder seulement les fichiers sans extension</translation>
    </message>
    <message>
        <source>Remove &amp;All .%1 Files</source>
        <translation>Retirer &amp;tous les fichiers .%1</translation>
    </message>
    <message>
        <source>&amp;Keep Only .%1 Files</source>
        <translation>&amp;Garder seulement les fichiers .%1</translation>
    </message>
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
        <source>File system loop detected; it is the same folder as %1.</source>
        <translation>Boucle dans le système de fichiers&#xa0;: c’est le même dossier que %1.</translation>
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
    <name>PortalDialog</name>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Enregistrer sous</translation>
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
</context>
</TS>
