#pragma once

class QWidget;

// Every way text enters a field of the window passes one check: typed, composed, pasted by the keyboard,
// the context menu or the middle button, or dropped, into an edit, an editable box, a grid's cell or the
// upgrade list. A character the code page cannot hold is refused, since it could reach neither the unit
// nor a file as typed. The refusal is no failure: the field keeps its text and cursor, and a note beside
// it, which never takes the keyboard, names the character, the field by its caption, and the code pages
// that hold it.
void refuseUnheldCharacters(QWidget& window);
