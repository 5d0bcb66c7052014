#pragma once
#include <QString>

// Opens a help page of the program's own, "Docs\<page>" relative to the program
// folder, in the desktop's browser. A page that cannot be opened gets a
// message naming it.
void OpenHelpPage(const QString &page);

// Opens the help page at a full path as a file address, with the same message
// when it cannot be opened.
void OpenHelpFile(const QString &path);
