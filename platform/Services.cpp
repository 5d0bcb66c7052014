#include "platform/Services.h"

#include "platform/CommonDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QScreen>
#include <QStandardPaths>

#include <cmath>

namespace {

class RealMessages : public MessageService {
public:
    MsgResult show(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon) override
    {
        QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
        if (icon == MsgIcon::Critical)
            qtIcon = QMessageBox::Critical;
        else if (icon == MsgIcon::Exclamation)
            qtIcon = QMessageBox::Warning;
        QMessageBox box(qtIcon, title, text);
        switch (buttons) {
        case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        case QMessageBox::Cancel: return MsgResult::Cancel;
        default: return MsgResult::Ok;
        }
    }
};

class RealFiles : public FileChooserService {
public:
    QString choose(const FileChooserRequest &r) override
    {
        QFileDialog dialog(nullptr, r.title, r.initDir);
        dialog.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        const QStringList filters = qtFilters(r.filter);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            // The patterns spell out both letter cases; the list shows the descriptions only.
            dialog.setOption(QFileDialog::HideNameFilterDetails);
        }
        if (!r.fileName.isEmpty())
            dialog.selectFile(r.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    }
};

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
    static RealMessages messages;
    static RealFiles files;
    static RealUrls urls;
    static RealEnvironment environment;
    static RealRandom random;
    return Services{&messages, &files, &urls, &environment, &random};
}

Services &services()
{
    static Services current = realServices();
    return current;
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
