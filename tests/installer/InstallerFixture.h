#pragma once
// A fresh media installer for every test: its own config folders for the
// registry file (the user's and the system's), a package made by the test
// beside the program, and an install folder with the five media folders.

#include "core/install/Module1.h"
#include "platform/WindowServices.h"
#include "installer/Form1.h"
#include "platform/Form.h"
#include "tests/support/TestFiles.h" // snapshot()
#include "tests/support/program/ScriptedWindows.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <optional>

inline const char *const AllMediaFolders[] = {"Scenes", "Images", "Sounds", "Skins", "Personalities"};

class InstallerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        savedTitle = programTitle();
        setProgramTitle(QStringLiteral("mediadrop"));
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"}) {
            if (qEnvironmentVariableIsSet(name))
                savedVariables.append({name, qgetenv(name)});
            else
                savedVariables.append({name, std::nullopt});
        }
        userConfig = tempPath(QStringLiteral("UserConfig"));
        systemConfig = tempPath(QStringLiteral("SystemConfig"));
        ASSERT_TRUE(QDir().mkpath(userConfig));
        ASSERT_TRUE(QDir().mkpath(systemConfig));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(userConfig));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(systemConfig));
        installFolder = tempPath(QStringLiteral("Velm5Pro"));
    }
    void TearDown() override
    {
        EXPECT_TRUE(messages.answers.isEmpty()) << "answers left unused: " << messages.answers.size();
        AppTest::TearDown();
        setProgramTitle(savedTitle);
        for (const auto &[name, value] : savedVariables) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }

    // Writes velm-registry.ini into the user's config folder (or the system's).
    void writeRegistry(const QByteArray &text, bool system = false)
    {
        writeFile(QDir(system ? systemConfig : userConfig).filePath(QString::fromLatin1(installer::RegistryFileName)), text);
    }
    // A registry whose Velm5Pro key names the install folder.
    void registerInstallFolder(const QString &folder)
    {
        writeRegistry("[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]\r\nDirectory=" + folder.toUtf8()
                      + "\r\n");
    }
    // The install folder with the given media folders (all five when none are named).
    void makeInstallFolder(QStringList media = {})
    {
        if (media.isEmpty())
            for (const char *name : AllMediaFolders)
                media << QString::fromLatin1(name);
        ASSERT_TRUE(QDir().mkpath(installFolder));
        for (const QString &name : media)
            ASSERT_TRUE(QDir().mkpath(QDir(installFolder).filePath(name)));
        registerInstallFolder(installFolder);
    }
    // A file of the package: Files/<media>/<name> beside the program.
    QString packageFile(const QString &media, const QString &name, const QByteArray &bytes)
    {
        const QString path = env.program + QStringLiteral("/Files/") + media + u'/' + name;
        writeFile(path, bytes);
        return path;
    }
    QString installed(const QString &media, const QString &name) const
    {
        return installFolder + u'/' + media + u'/' + name;
    }
    // The log line of one copied file.
    QString logLine(const QString &media, const QString &name) const
    {
        return name + QStringLiteral(" ....... ") + installed(media, name) + u'\n';
    }

    static QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    // The installer's window, loaded (and so having read the registry) and shown.
    installer::Form1 &openWindow()
    {
        installer::Form1 &window = form<installer::Form1>();
        window.Show();
        QObject::connect(window.Text1, &QPlainTextEdit::textChanged, window.Text1,
                         [this, box = window.Text1] { logTexts << box->toPlainText(); });
        return window;
    }
    void clickInstall(installer::Form1 &window)
    {
        logTexts.clear();
        QTest::mouseClick(window.Command1, Qt::LeftButton);
    }
    // The log as it stood just before the click's end put "DONE!" in its place.
    QString logBeforeDone() const
    {
        if (logTexts.isEmpty() || logTexts.last() != QStringLiteral("DONE!"))
            return QStringLiteral("<no DONE!>");
        return logTexts.size() >= 2 ? logTexts[logTexts.size() - 2] : QString();
    }

    QString userConfig, systemConfig, installFolder;
    QStringList logTexts; // the log's text after each change during the last click

private:
    QString savedTitle;
    QList<QPair<const char *, std::optional<QByteArray>>> savedVariables;
};
