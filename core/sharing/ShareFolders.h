#pragma once
// The sharing work area under the base folder, Data/Temp:
//   zips                    side files and archives of every upload, never emptied
//   ShareTemp               staging root: the installer, and the archive is made from here
//   ShareTemp/Files/Scenes  the staged scene file
//   ShareTemp/Files/Images  the staged pictures
//   ShareTemp/Files/Sounds  the staged sounds
// The three staged folders are emptied of files at every upload; folders in
// them stay.

#include "core/base/Files.h"

#include <QString>
#include <QStringList>

// Folders of the work area below the base folder, in the order they are made.
QStringList shareFolders();

// True when a file or folder of that name exists. One trailing separator is
// dropped first; an empty path names nothing.
bool PathExists(const QString &path);

// True when the folder holds nothing but entries named "Files", "Scenes" or
// "Images" (letter case counts), or nothing at all. An empty staging folder
// gives true; so does one that holds only a file named "Images".
bool FolderHasOnlyStandardEntries(const QString &folder);

// Makes every missing folder of the work area and empties the staged folders
// of their files (links included, folders kept), unless
// FolderHasOnlyStandardEntries says there is nothing to empty. Fails, naming
// the folder or file, when one cannot be made or removed, and before anything
// is made or removed when ShareTemp or a folder below it is a link.
FileResult PrepareShareFolders(const QString &baseFolder);
