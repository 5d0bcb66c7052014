#pragma once
// Where each file chooser of the program opens. A chooser opens in the folder
// it was last used in during this run, the folder of the file last chosen
// with it; before that, in the folder its window gives it; without one, in
// the user's pictures folder (EnvironmentService::picturesFolder). A folder
// that is not there (any more) is passed over. Nothing is kept between runs.

#include <QHash>
#include <QString>

class ChooserFolders {
public:
    // The folder the chooser named `chooser` opens in; `own` is the one its
    // window gives it, "" for none.
    QString startFolder(const QString &chooser, const QString &own) const;
    // The user chose `path` with the chooser: it opens in that file's folder next.
    void noteChosen(const QString &chooser, const QString &path);
    // Forgets every chooser's folder, as at the start of a run.
    void clear() { m_lastFolders.clear(); }

private:
    QHash<QString, QString> m_lastFolders;
};

// The program's, for the run.
ChooserFolders &chooserFolders();
