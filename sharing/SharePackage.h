#pragma once
// The share package of the library window's upload button, planned before
// anything is written: which files are staged under Data/Temp/ShareTemp, the
// upload's name, its side files in Data/Temp/zips and their bytes, and the
// archive. A plan either refuses (no scene, a bad scene or background name, a
// missing source) or lists what to copy and write, so a refusal leaves no
// trace on disk.
//
// Package layout (every path on the base folder):
//   Data/Temp/ShareTemp/mediadrop.exe               the installer beside the program
//   Data/Temp/ShareTemp/Files/Scenes/<scene>.scn    the scene file
//   Data/Temp/ShareTemp/Files/Images/<name>         every picture of the scene
//   Data/Temp/ShareTemp/Files/Sounds/<name>.wav     the scene's sounds
//   Data/Temp/zips/<U>.zip                          the staging root's *.jpg, *.jpeg, *.bmp, *.scn,
//                                                   *.exe and *.wav, letter case ignored
//   Data/Temp/zips/<U>.jpg                          140 x 100 thumbnail of the background
//   Data/Temp/zips/<U>-2.jpg                        byte copy of the background
//   Data/Temp/zips/<U>.txt, <U>-cmnt.txt            handle and comment, Windows-1252, CR LF
// where <U> is the upload name: the scene name and nine random digits.
//
// How the library window's upload button (VelmNShare::Command7_Click) uses
// it, once no upload runs, the scene is from "Your Scenes", the service's
// host is set (library/SharingAddress.h), the handle is given and the user
// has confirmed:
//   plan = planSharePackage(inputs), from the window's names and boxes and
//   the scene's file lists; a refusal is shown and ends the click, left-out
//   names are shown and the click goes on;
//   PrepareShareFolders (ShareFolders.h), then plan.pictures and
//   plan.installer copied; the upload's name is plan.UploadName;
//   plan.background made into the 140 x 100 thumbnail plan.thumbnail;
//   plan.commentFile written, plan.secondPicture and plan.scene copied,
//   plan.handleFile written;
//   ShareStartText shown; zipSharePackage into plan.zipFile; then the upload
//   sequence (UploadSequence.h) sends the five files under the upload's name.
// A step that fails shows its reason in one message and ends the click
// before anything goes up.

#include "core/scene/SceneState.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class cZip;

// The window's own texts for the upload button.
inline const QString ShareOnlyYourListText = QStringLiteral(
    "You can only upload scenes from your list. Use the Move button if your scene is in Velm's list box. "
    "Remember, only original scenes ceeated by you will be approved.");
inline const QString ShareNeedsHandleText = QStringLiteral("Please supply a handle for uploading to VelmNShare");
inline const QString ShareAnonymousText =
    QStringLiteral("Are you sure you want to use 'Anonymous' as your handle for sharing?");
inline const QString ShareConfirmText = QStringLiteral(
    "You may only upload and share your own scenes. Are you sure you want to upload this Scene? "
    "It usually takes a few seconds. ");
inline const QString ShareStartText =
    QStringLiteral("The scene will now be uploaded. You will be notified when it's done.");

// What the package is built from: the library window's names and boxes and
// the previewed scene's file lists.
struct ShareInputs {
    QString BaseFolder;    // ends in "/"
    QString programFolder; // where mediadrop lies, without a trailing "/"
    int SelectSceneList = 0; // 1 "Your Scenes", 2 the companion's list, 0 none yet
    QString SelectScene;
    QString MainPicFileName; // the background's file name as the scene gives it; "" when it names none
    QString NudyFilename;
    QString handle;  // Text2
    QString comment; // Text3
    SceneFileLists Files;
};

struct ShareCopy {
    QString source;      // full path of an existing file
    QString destination; // full path
    bool operator==(const ShareCopy &) const = default;
};

struct ShareFile {
    QString path;
    QByteArray bytes;
};

struct SharePlan {
    QString refusal;     // not empty: the message to show, and nothing is done
    QStringList leftOut; // names from the scene's lists that are not staged
    QList<ShareCopy> pictures; // into Files/Images, then the sounds into Files/Sounds
    ShareCopy installer;       // to ShareTemp/mediadrop.exe
    ShareCopy scene;           // to Files/Scenes/<scene>.scn
    QString UploadName;
    QString background;        // the background picture, the thumbnail's source
    QString thumbnail;         // zips/<U>.jpg
    ShareCopy secondPicture;   // background to zips/<U>-2.jpg
    ShareFile commentFile;     // zips/<U>-cmnt.txt
    ShareFile handleFile;      // zips/<U>.txt
    QString zipFile;           // zips/<U>.zip
    QString stagingRoot;       // Data/Temp/ShareTemp
};

// The archive's file patterns, in the order they are given.
QStringList sharePackagePatterns();

// A picture named in a scene: a bare name ending ".jpg", ".jpeg" or ".bmp",
// letter case ignored. A sound: a bare name ending ".wav".
bool isSharePictureName(const QString &name);
bool isShareSoundName(const QString &name);

// Draws the upload name and plans every copy and write.
SharePlan planSharePackage(const ShareInputs &inputs);

// One message naming the left-out names, the first ten of them and a count of the rest.
QString leftOutMessage(const QStringList &names);

// A handle or comment file: the text in Windows-1252 ("?" for a character the
// code page lacks), then CR LF.
QByteArray shareTextFileBytes(const QString &text);

// low + floor(r * (high - low + 1)) for the next r of the program's random
// source, never above high.
double RandomInRange(qint32 high, qint32 low);

// The scene name followed by nine random digits, drawn again while an archive
// or side file of that name is in `zipsFolder`. Empty when twenty draws in a
// row meet taken names.
QString drawUploadName(const QString &scene, const QString &zipsFolder);

// "http://" + host + the upload script: "/VSH/post_dump.php" when approved,
// else "/VSH-APRV/post_dump.php".
QString DestinationUrl(const QString &host, bool approved);

// Zips the staging root into Data/Temp/zips/<name>.zip with the package's
// patterns, folder names kept, subfolders searched. The caller reads Success.
void zipSharePackage(cZip &zip, const QString &baseFolder, const QString &name);
