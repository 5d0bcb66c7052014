#pragma once
// The file chooser as the dialogs use it: set Filter, InitDir and FileName,
// call ShowOpen; an empty FileName afterwards means nothing was chosen.

#include <QString>
#include <QStringList>

class CommonDialog {
public:
    QString Filter;   // "Pictures (*.bmp;*.jpg)|*.bmp;*.jpg" pairs
    QString InitDir;
    QString FileName;
    QString DialogTitle;
    bool CancelError = false; // never raised: a cancel leaves FileName ""

    void ShowOpen();
    void ShowSave();
};

// Turns "Desc|*.bmp;*.jpg|All|*.*" into Qt's filter list. Extensions match in
// either letter case ("*.bmp" also finds "FRAME0001.BMP").
QStringList qtFilters(const QString &filter);
