// SPDX-License-Identifier: MIT
#pragma once

// What a file dialog asks for: an existing file (Add), a file to write
// (Save), or an existing folder itself (Choose Folder), whichever dialog
// shows it: the portal's, Qt's here or Qt's in a process of its own.
enum class DialogKind { OpenFile, SaveFile, Folder };
