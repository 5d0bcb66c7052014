#pragma once
#include <QString>

// Opens a help page of the program's own, "Docs\<page>" relative to the program
// folder, in the desktop's browser. A page that cannot be opened gets a
// message naming it.
void OpenHelpPage(const QString &page);
