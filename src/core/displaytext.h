// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>

// How a file name's bytes are shown, in the lists, messages and the progress
// panel alike: UTF-8 with U+FFFD for invalid bytes, and every character that
// would draw as nothing, break the line or turn the text round written as an
// escape such as "<U+202E>". So a name keeps to one line, reads in the order
// of its bytes, and two names that differ never look the same.
//
// Escaped: C0 and C1 controls and DEL, the line and paragraph separators, and
// the default-ignorable code points (directional controls, zero-width space,
// word joiner and the invisible operators, byte order mark, soft hyphen,
// Hangul fillers, tag characters, ...). Kept where they are part of visible
// text: a zero-width joiner or non-joiner between letters or emoji, a
// variation selector after a base character, and the tags of a flag (U+1F3F4,
// tags, U+E007F).
//
// O(n); a name with nothing to escape is returned without a copy.
QString displayText(QByteArrayView bytes);
