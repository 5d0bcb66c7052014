#pragma once
// Files named in a message box: however many there are, the box stays within
// a screen. The first ten are listed one a line and the rest counted in a
// last line, "and N more".

#include <QString>
#include <QStringList>

// Names listed in full before the rest are counted.
inline constexpr qsizetype NameListShown = 10;

// The names one a line: all of them when they are at most one more than
// NameListShown (a count of one takes the line its name would), else the
// first NameListShown and then "and N more". Empty for no names.
QString nameListText(const QStringList &names);
