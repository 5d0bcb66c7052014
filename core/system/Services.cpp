#include "core/system/Services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QStandardPaths>

#include <cmath>

namespace {

// Until the window layer installs its own: a message is logged and answered
// with the button that goes no further (Ok alone, else Cancel or No), and a
// file chooser is cancelled.
class NoWindowMessages : public MessageService {
public:
    MsgResult show(const QString &text, MsgButtons buttons, const QString &title, MsgIcon) override
    {
        qWarning("Message box without a window layer: %s: %s", qPrintable(title), qPrintable(text));
        switch (buttons) {
        case MsgButtons::YesNo: return MsgResult::No;
        case MsgButtons::OkCancel: return MsgResult::Cancel;
        case MsgButtons::Ok: break;
        }
        return MsgResult::Ok;
    }
};

class NoWindowFiles : public FileChooserService {
public:
    QString choose(const FileChooserRequest &) override { return QString(); }
};

NoWindowMessages noWindowMessages;
NoWindowFiles noWindowFiles;
MessageService *windowMessages = nullptr;
FileChooserService *windowFiles = nullptr;

class RealUrls : public UrlService {
public:
    bool open(const QUrl &url) override { return QDesktopServices::openUrl(url); }
};

class RealEnvironment : public EnvironmentService {
public:
    QString documentsFolder() const override
    {
        QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        while (d.size() > 1 && d.endsWith(u'/'))
            d.chop(1);
        return d;
    }
    QString programFolder() const override { return QCoreApplication::applicationDirPath(); }
    QString configFolder() const override
    {
        QString d = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        while (d.size() > 1 && d.endsWith(u'/'))
            d.chop(1);
        return d;
    }
    double twipsPerPixelX() const override { return twips(true); }
    double twipsPerPixelY() const override { return twips(false); }

private:
    static double twips(bool across)
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        if (!screen)
            return 15.0;
        // A figure no screen has (none, or beyond 15 times either way of 96)
        // counts as 96 dots per inch: the windows keep the size they were drawn at.
        const double dpi = across ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
        return std::isfinite(dpi) && dpi >= 96.0 / 15 && dpi <= 96.0 * 15 ? 1440.0 / dpi : 15.0;
    }
};

class RealRandom : public RandomService {
public:
    float next() override { return float(QRandomGenerator::global()->generate() >> 8) / 16777216.0f; }
};

} // namespace

Services realServices()
{
    static RealUrls urls;
    static RealEnvironment environment;
    static RealRandom random;
    MessageService *messages = windowMessages ? windowMessages : &noWindowMessages;
    FileChooserService *files = windowFiles ? windowFiles : &noWindowFiles;
    return Services{messages, files, &urls, &environment, &random};
}

Services &services()
{
    static Services current = realServices();
    return current;
}

void setWindowServices(MessageService *messages, FileChooserService *files)
{
    windowMessages = messages;
    windowFiles = files;
    Services &current = services();
    if (current.messages == &noWindowMessages)
        current.messages = messages;
    if (current.files == &noWindowFiles)
        current.files = files;
}

static QString &titleInUse()
{
    static QString title = QStringLiteral("Scenara5");
    return title;
}

QString programTitle()
{
    return titleInUse();
}

void setProgramTitle(const QString &title)
{
    titleInUse() = title;
}

MsgResult MsgBox(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon)
{
    return services().messages->show(text, buttons, title, icon);
}
