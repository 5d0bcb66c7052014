#pragma once
// The media installer's one window: it shows the companion's install folder
// as read from the registry, and its Install button copies the package that
// lies beside the program into that folder, logging each file.

#include "platform/Form.h"

class QImage;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace installer {

class Form1 : public Form {
    Q_OBJECT
public:
    Form1();

    QLabel *Label3;         // the install folder, or "Error"
    QPushButton *Command1;  // Install
    QPlainTextEdit *Text1;  // the copy log, then "DONE!" (or that there was nothing to install)

    void Command1_Click();

protected:
    void Form_Load() override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Adds text at the end of the log and brings the end into view.
    void appendLog(const QString &text);
    // The message followed by why the load found no install folder, when it found none.
    QString withLookup(const QString &message) const;

    QString m_lookup; // why the load found no install folder; "" when it found one
};

// What the install folder's label shows for a registry value: the value; ""
// for a malformed key path (after the "Incorrect Format:" message) or an
// unknown root; "Error" when there is no such value.
QString registryText(const QString &keyPath, const QString &valueName, const QString &registry);
QString registryText(const QString &keyPath, const QString &valueName);

// The window's background artwork, 375 x 212 pixels.
QImage installerArtwork();

} // namespace installer
