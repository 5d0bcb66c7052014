#include "installer/Form1.h"

#include "core/base/NameList.h"
#include "core/install/Module1.h"
#include "core/install/PackageInstall.h"
#include "core/system/Services.h"
#include "platform/WindowServices.h"

#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadialGradient>
#include <QScrollBar>

namespace installer {

namespace {

const QString ProKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro");
const QString StdKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Std");

} // namespace

QImage installerArtwork()
{
    QImage art(375, 212, QImage::Format_RGB32);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, art.height());
    sky.setColorAt(0, QColor(24, 36, 110));
    sky.setColorAt(0.55, QColor(96, 96, 200));
    sky.setColorAt(1, QColor(192, 192, 255));
    p.fillRect(art.rect(), sky);
    // Soft discs, like light on a stage.
    const struct {
        QPointF centre;
        double radius;
        QColor colour;
    } lights[] = {
        {{60, 30}, 70, QColor(255, 255, 255, 70)},
        {{320, 50}, 90, QColor(192, 192, 255, 90)},
        {{200, 200}, 120, QColor(255, 240, 200, 60)},
    };
    p.setPen(Qt::NoPen);
    for (const auto &light : lights) {
        QRadialGradient glow(light.centre, light.radius);
        glow.setColorAt(0, light.colour);
        glow.setColorAt(1, QColor(light.colour.red(), light.colour.green(), light.colour.blue(), 0));
        p.setBrush(glow);
        p.drawEllipse(light.centre, light.radius, light.radius);
    }
    // A band of film frames along the bottom edge.
    p.setBrush(QColor(16, 16, 48, 170));
    p.drawRect(QRectF(0, 186, art.width(), 22));
    p.setBrush(QColor(230, 230, 255, 200));
    for (int x = 6; x < art.width(); x += 18)
        p.drawRoundedRect(QRectF(x, 191, 10, 12), 2, 2);
    p.setPen(QColor(255, 255, 255, 230));
    QFont title = p.font();
    title.setBold(true);
    title.setPixelSize(18);
    p.setFont(title);
    p.drawText(QRectF(0, 8, art.width(), 26), Qt::AlignCenter, QStringLiteral("Media Installer"));
    return art;
}

Form1::Form1()
{
    SetCaption(QStringLiteral("Media Installer"));
    SetClientTwips(5580, 3225);

    Label3 = new QLabel(this);
    // The folder it shows is what a screen reader reads; the words say what it is.
    nameControl(Label3, QStringLiteral("Label3"));
    Label3->setAccessibleDescription(QStringLiteral("Velm 5 installation directory"));
    Label3->setAutoFillBackground(true);
    QPalette white = Label3->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    Label3->setPalette(white);
    placeTwips(Label3, 225, 615, 4950, 240);

    Command1 = new QPushButton(QStringLiteral("Install"), this);
    nameControl(Command1, QStringLiteral("Command1"), QStringLiteral("Install"));
    Command1->setStyleSheet(QStringLiteral("background-color: rgb(192, 192, 255);"));
    QFont bold = Command1->font();
    bold.setPointSizeF(9.75);
    bold.setBold(true);
    Command1->setFont(bold);
    placeTwips(Command1, 2175, 945, 1110, 375);

    Text1 = new QPlainTextEdit(this);
    nameControl(Text1, QStringLiteral("Text1"), QStringLiteral("Installation log"));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    placeTwips(Text1, 825, 1440, 3960, 1680);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
}

QString registryText(const QString &keyPath, const QString &valueName, const QString &registry)
{
    const Result<QString, RegReadFailure> read = RegRead(keyPath, valueName, registry);
    if (read)
        return read.value;
    switch (read.error) {
    case RegReadFailure::IncorrectFormat:
        MsgBox(QStringLiteral("Incorrect Format:\n\n") + keyPath, MsgButtons::Ok);
        return QString();
    case RegReadFailure::UnknownRoot:
        return QString();
    case RegReadFailure::NotFound:
        break;
    }
    return QStringLiteral("Error");
}

QString registryText(const QString &keyPath, const QString &valueName)
{
    return registryText(keyPath, valueName, registryFile());
}

void Form1::Form_Load()
{
    const QString registry = registryFile();
    Label3->setText(registryText(ProKey, QStringLiteral("Directory"), registry));
    if (Label3->text() == QStringLiteral("Error"))
        Label3->setText(registryText(StdKey, QStringLiteral("Directory"), registry));
    // Why there is no folder, from the same look-up: the file and where it was looked for.
    m_lookup = installFolderLookup({ProKey, StdKey}, QStringLiteral("Directory"), registry);
    if (Label3->text() == QStringLiteral("Error"))
        MsgBox(withLookup(QStringLiteral("Have you installed Velm 5? Unable to determine Velm5 installation "
                                         "directory. Please install manually by copying files to Velm 5 default "
                                         "directory.")),
               MsgButtons::Ok, QStringLiteral("Error!!"), MsgIcon::Critical);
}

QString Form1::withLookup(const QString &message) const
{
    return m_lookup.isEmpty() ? message : message + QStringLiteral("\n\n") + m_lookup;
}

void Form1::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    static const QImage art = installerArtwork();
    QPainter(this).drawImage(0, 0, art);
}

void Form1::appendLog(const QString &text)
{
    Text1->moveCursor(QTextCursor::End);
    Text1->insertPlainText(text);
    Text1->moveCursor(QTextCursor::End);
}

void Form1::Command1_Click()
{
    const QString folder = Label3->text();
    if (const Result<> accepted = checkInstallFolder(folder); !accepted) {
        // A folder that is not known is told with why the look-up found none.
        MsgBox(withLookup(accepted.error), MsgButtons::Ok, programTitle(), MsgIcon::Exclamation);
        return;
    }
    const QString programFolder = services().environment->programFolder();
    const InstallOutcome outcome = installPackage(programFolder, folder);
    for (const QString &line : outcome.log)
        appendLog(line + u'\n');
    if (!outcome.failure.isEmpty())
        MsgBox(outcome.failure + QStringLiteral("\n\nThe installation stopped at this file."), MsgButtons::Ok,
               programTitle(), MsgIcon::Critical);
    if (!outcome.refused.isEmpty())
        MsgBox(QStringLiteral("These files of the package were not installed:\n\n") + nameListText(outcome.refused),
               MsgButtons::Ok, programTitle(), MsgIcon::Exclamation);
    if (outcome.complete()) {
        // A line of its own, so that the log of a later click begins below it.
        Text1->setPlainText(outcome.foundNothing() ? nothingToInstallText(programFolder) + u'\n'
                                                   : QStringLiteral("DONE!"));
        Text1->moveCursor(QTextCursor::End);
    }
}

} // namespace installer
