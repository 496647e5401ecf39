#pragma once

class QWidget;
class UserDialogs;

// Refuses at once a character typed, pasted or composed into any field of the window that the code page
// cannot hold, with a message naming the field and the character. Taken, it could not go to the unit
// or into a file as typed.
void refuseUnheldCharacters(QWidget& window, UserDialogs& dialogs);
