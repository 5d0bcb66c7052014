#pragma once
// The modal interactions and the machine facts the program asks for: message
// boxes, file choosers, opening pages in the desktop's browser, the folders and
// the screen density, random numbers. The program uses the real ones; tests
// install scripted ones (tests/support) that answer from a queue and record
// what was shown.

#include <QString>
#include <QStringList>
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
    QString initDir;
    QString fileName; // proposed name
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

class EnvironmentService {
public:
    virtual ~EnvironmentService() = default;
    virtual QString documentsFolder() const = 0; // without a trailing "/"; "" when unknown
    virtual QString programFolder() const = 0;   // the running executable's folder, without a trailing "/"
    virtual QString configFolder() const = 0;    // the user's settings folder for this program, without a trailing "/"
    // Twips per logical pixel, by axis: 1440 / the screen's logical DPI. Every
    // window works in Qt's logical pixels, which Qt keeps at 96 per inch at any
    // device pixel ratio (a desktop scale, QT_SCALE_FACTOR, a font DPI under
    // Qt's high-DPI scaling), so this is 15 there. Only where Qt reports another
    // logical DPI (high-DPI scaling turned off) does it differ; ScaleFormToScreen
    // then keeps every window's pixel size and its fonts' pixel size, and every
    // twips-to-pixel conversion takes the same figure back, so nothing placed or
    // stored changes with the screen. A picture's HIMETRIC size is not a screen
    // unit: see HimetricSize.
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
};

class RandomService {
public:
    virtual ~RandomService() = default;
    // The next draw r, 0 <= r < 1, in single precision: a multiple of 1 / 2^24.
    virtual float next() = 0;
};

struct Services {
    MessageService *messages;
    FileChooserService *files;
    UrlService *urls;
    EnvironmentService *environment;
    RandomService *random;
};

// The services in use. Starts with the real ones.
Services &services();
// The real implementations (for tests that restore them). The message boxes
// and file choosers are the window layer's once it installed them
// (platform/WindowServices.h); without it a message is logged and answered
// with the button that goes no further, and a file chooser is cancelled.
Services realServices();
// Installs the window layer's message boxes and file choosers, also in the
// services in use where they had none.
void setWindowServices(MessageService *messages, FileChooserService *files);

// The program's title on its message boxes: "Scenara5" unless the executable sets its own.
QString programTitle();
void setProgramTitle(const QString &title);

// A message box with the program's title.
MsgResult MsgBox(const QString &text, MsgButtons buttons = MsgButtons::Ok, const QString &title = programTitle(),
                 MsgIcon icon = MsgIcon::None);
