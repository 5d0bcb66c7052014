#pragma once
// The copy of a share package into the companion's install folder. The
// package lies beside the installer: <program folder>/Files/<F>/ for the five
// media folders F. Every regular file of such a folder, by name order, is
// copied whole or not at all to <install folder>/<F>/ under its own name, over
// an older file of that name. No folder is created.
//
// Nothing is written outside the install folder's five subfolders. Refused and
// skipped, to be named to the user: a file whose name could lead elsewhere, a
// link, a package folder that is not really <program folder>/Files/<F> (a link
// to elsewhere), and a target name that exists as a link, a folder or anything
// but a regular file. Skipped silently, as the package folders never carry them
// for the companion: hidden files (names that begin with "."), subfolders,
// pipes, sockets and devices.

#include "core/base/Result.h"

#include <QString>
#include <QStringList>

namespace installer {

// The package's media folders, in the order they are installed.
extern const char *const MediaFolders[5];

// Accepts an install folder (as the window shows it) that can take the
// package: an existing folder by a full path; else refused, with a sentence
// for the user.
Result<> checkInstallFolder(const QString &installFolder);

struct InstallOutcome {
    // One line per file copied, in order: N ....... D/N.
    QStringList log;
    // The failed copy that stopped the run, with its reason; "" when none did.
    QString failure;
    // Entries not installed, each as "<path>: <reason>".
    QStringList refused;

    bool complete() const { return failure.isEmpty() && refused.isEmpty(); }
    // True when the package held no file to install: none copied, refused or failed.
    bool foundNothing() const { return log.isEmpty() && complete(); }
};

// The package folder beside the program: <program folder>/Files.
QString packageFolder(const QString &programFolder);

// What the log says in place of "DONE!" after a run that found no file to
// install: the folder it looked in, and that nothing was installed.
QString nothingToInstallText(const QString &programFolder);

// Copies the package into an install folder that checkInstallFolder accepts.
InstallOutcome installPackage(const QString &programFolder, const QString &installFolder);

} // namespace installer
