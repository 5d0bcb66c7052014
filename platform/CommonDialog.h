#pragma once
// The file chooser as the dialogs use it: set Filter, InitDir and FileName,
// call ShowOpen; an empty FileName afterwards means nothing was chosen.
//
// Each chooser opens where it was last used in the run, for each kind of file
// it picks (its filter's patterns), else in InitDir, else in the user's
// pictures folder (core/system/ChooserFolders.h).

#include <QString>
#include <QStringList>

class CommonDialog {
public:
    // `chooser` names it among the program's choosers: its window's name.
    explicit CommonDialog(const char *chooser) : m_chooser(QString::fromLatin1(chooser)) {}

    QString Filter;   // "Pictures (*.bmp;*.jpg)|*.bmp;*.jpg" pairs
    QString InitDir;  // where it opens before its first use in the run; "" for the pictures folder
    QString FileName;
    QString DialogTitle;
    bool CancelError = false; // never raised: a cancel leaves FileName ""

    void ShowOpen();
    void ShowSave();

private:
    // The name its folder is remembered by: the chooser's and its filter's patterns.
    QString memoryName() const;
    void show(bool save);

    QString m_chooser;
};

// Turns "Desc|*.bmp;*.jpg|All|*.*" into Qt's filter list. Extensions match in
// either letter case ("*.bmp" also finds "FRAME0001.BMP").
QStringList qtFilters(const QString &filter);
