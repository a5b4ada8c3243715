// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// A name's bytes with letter case set aside: the one rule by which the file
// list's "Remove All .EXT Files" compares extensions and quillmere-list's
// --ignore-case matches names. Each character that is valid UTF-8 is folded
// by Unicode's simple case folding ("Ä" and "ä" both give "ä", "K" (Kelvin)
// gives "k"), whatever the locale; every byte that is not part of one stays
// as it is, so it matches only itself while the letters around it still fold.
// Two names are alike, letter case aside, when their foldings are equal. The
// folding of a name is the foldings of its parts put together, wherever it is
// cut between characters: the folded extension of a name is the extension of
// its folding. O(n).
QByteArray caseFolded(QByteArrayView bytes);
