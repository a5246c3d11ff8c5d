#pragma once

#include <QString>

namespace ponderix {

// How many characters of a user's text (a name, a comment) are laid out or
// printed. Nothing shows more: a name field is a few hundred pixels wide, a
// tooltip or a page line at most a screen, a 4K screen is 3840 pixels across,
// and even the narrowest glyph takes a pixel, so 4000 characters fill every
// place a name goes, wrapped paragraphs included, with room to spare. Laying
// out that many takes well under a millisecond, while laying out a name of
// megabytes (which the project reader accepts) takes seconds and gigabytes,
// and eliding it by width first lays it out. The model and the files keep
// every character; only what is shown is cut.
inline constexpr qsizetype kDisplayTextLimit = 4000;

// `text` as it is shown: unchanged up to `limit` characters, else its first
// `limit` UTF-16 units, one fewer when that would split a surrogate pair,
// followed by "…". Cheap on any length: it never looks past the cut.
QString displayText(const QString& text, qsizetype limit = kDisplayTextLimit);

// True when displayText(text, limit) differs from `text`.
bool isCutForDisplay(const QString& text, qsizetype limit = kDisplayTextLimit);

// The whole text after the user changed what a field showed of it from
// `shownBefore` to `shownAfter`. An edit of the shown part keeps the hidden
// rest; text typed after the "…" goes after the whole text; an edit of the
// "…" itself replaces what it stood for, since that is what the user did.
QString withShownEdit(const QString& whole, const QString& shownBefore, const QString& shownAfter);

// Whether a field showing `shown` shows `whole` as well as it can: the whole
// text, or a beginning of it followed by "…".
bool showsText(const QString& shown, const QString& whole);

} // namespace ponderix
