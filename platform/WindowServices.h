#pragma once
// What a program with windows asks of the user and the desktop: message
// boxes, file choosers, opening pages in the desktop's browser. The program
// uses the real ones, QMessageBox, QFileDialog and QDesktopServices; tests
// install scripted ones (tests/support/program/ScriptedWindows.h) that answer
// from a queue and record what was shown, so that no test waits on a dialog or
// starts a browser. Only windows ask: the core reports what went wrong as a
// Result, and the window that called it shows the message.

#include <QString>
#include <QUrl>

// Answers of a message box, with the values the program compares against.
enum class MsgResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };
enum class MsgButtons { Ok, YesNo, OkCancel };
enum class MsgIcon { None, Critical, Exclamation };

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MsgResult show(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon) = 0;
};

// One use of the file chooser: what the program set before ShowOpen.
struct FileChooserRequest {
    QString filter;   // "Description|*.bmp;*.jpg|..." pairs
    QString initDir;  // the folder it opens in
    QString fileName; // proposed name (a path: the name is offered in initDir)
    QString title;
    bool save = false;
};

class FileChooserService {
public:
    virtual ~FileChooserService() = default;
    // Returns the chosen path, or "" when the user cancelled.
    virtual QString choose(const FileChooserRequest &request) = 0;
};

class UrlService {
public:
    virtual ~UrlService() = default;
    // Opens a page or a file in the desktop's program for it; false on failure.
    virtual bool open(const QUrl &url) = 0;
};

struct WindowServices {
    MessageService *messages;
    FileChooserService *files;
    UrlService *urls;
};

// The window services in use. Starts with the real ones.
WindowServices &windowServices();
// The real implementations (for tests that restore them).
WindowServices realWindowServices();

// The program's title on its message boxes: "Scenara5" unless the executable sets its own.
QString programTitle();
void setProgramTitle(const QString &title);

// A message box with the program's title.
MsgResult MsgBox(const QString &text, MsgButtons buttons = MsgButtons::Ok, const QString &title = programTitle(),
                 MsgIcon icon = MsgIcon::None);
