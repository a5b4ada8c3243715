// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// How a file name's bytes are shown, in the lists, messages and the progress
// panel alike: UTF-8 with U+FFFD for invalid bytes, and every character that
// would draw as nothing, break the line, turn the text round or pass unseen
// written as an escape such as "<U+202E>". So a name keeps to one line, reads
// in the order of its bytes, and two names that differ never look the same.
//
// Escaped: C0 and C1 controls and DEL, the line and paragraph separators, the
// interlinear annotation characters U+FFF9..FFFB, and the default-ignorable
// code points (directional controls, zero-width space, joiners, variation
// selectors, word joiner and the invisible operators, byte order mark, soft
// hyphen, Hangul fillers, tag characters, ...); spaces (U+2800 and the Zs
// spaces) at the start or the end of the name, each its own escape; a
// combining mark at the start or right after an escape, as it has no base to
// draw on; and a "<" followed by "U+", so every "<U+" shown starts an escape.
//
// Kept, only where they change what is drawn:
// - a zero-width joiner between two pictographs, each perhaps with a skin tone
//   or U+FE0F after it (emoji ZWJ sequences);
// - a zero-width joiner or non-joiner right after a virama;
// - a zero-width non-joiner between a letter that joins the next one and a
//   letter that joins the one before, with only transparent marks between
//   (Joining_Type (L|D) T* ZWNJ T* (R|D), as IDNA allows it);
// - a variation selector after the character of a standardized or emoji
//   variation sequence (ideographic variation sequences are escaped);
// - the tags of England, Scotland and Wales after U+1F3F4, with the cancel tag.
// A joiner or selector after an escape is escaped too.
//
// The shown text begins with the name's first character, or with the "<" of
// an escape. O(n); a name with nothing to escape is returned without a copy.
QString displayText(QByteArrayView bytes);

// A path as the window's messages, progress panel and folder list and
// quillmere-list's messages all show it: the system's separators (a backslash
// on Windows), then displayText(). This is the one place that rule is kept.
QString displayPath(QStringView path);
// The same for a path's bytes as the system gave them (UTF-8 on Windows).
QString displayPath(QByteArrayView nativePath);
