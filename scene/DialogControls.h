#pragma once
// The controls of the layer property dialogs, made the same way in every
// dialog: placed in twips, named for the program (objectName) and for a person
// (the painted text of a button, the label beside a box).

#include "core/scene/SceneState.h"

#include <QString>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// A picture button over its painted text ("LOAD...", "OK", "?").
QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, double left, double top,
                        double width, double height);

// A text box with its label painted to its left, `labelWidth` twips wide.
QLineEdit *makeTextBox(QWidget *parent, const char *name, const QString &label, const QString &text, double left,
                       double top, double width, double height, double labelWidth);
// A text box without a label of its own; `accessibleName` says what it shows.
QLineEdit *makeNameBox(QWidget *parent, const char *name, const QString &accessibleName, double left, double top,
                       double width, double height);

// A check box or option button too narrow to show its caption, with its label
// painted to its right, `labelWidth` twips wide (none when 0).
QCheckBox *makeCheckBox(QWidget *parent, const char *name, const QString &caption, const QString &label,
                        double left, double top, double width, double height, double labelWidth);
QRadioButton *makeOption(QWidget *parent, const char *name, const QString &caption, const QString &label,
                         double left, double top, double width, double height, double labelWidth);

// A borderless frame that holds one group of option buttons.
QFrame *makeOptionFrame(QWidget *parent, const char *name, double left, double top, double width, double height);

// Painted text on the background: headings, labels, instructions.
QLabel *makeText(QWidget *parent, const QString &text, double left, double top, double width, double height,
                 bool bold = false);
// A label that shows a frame number: 12-point bold, dark purple. Screen
// readers read the number as its name and the words beside it as its
// description.
QLabel *makeNumberLabel(QWidget *parent, const char *name, const QString &text, const QString &description,
                        double left, double top, double width, double height);

#include "scene/FramePicks.h"

// Shows a recorded frame-set pick: its file name in the name box, its first
// and last numbers, and the missing frames (messages, and the last one named
// in the report box).
void showFrameSetPick(const FrameSetPick &pick, QLineEdit *nameBox, QLabel *firstLabel, const QString &firstText,
                      QLabel *lastLabel, QLineEdit *reportBox);

// Keeps a control and a value of the scene document together: the control
// shows the value when it is bound and whenever the document changes, and
// what the user sets goes into the document. The value outlives the control.
void bindText(QLineEdit *box, QString &value);
void bindOption(QRadioButton *option, bool &value);
void bindTicked(QCheckBox *box, bool &ticked);
// A check box that shows a flag of the state record, written through the
// document; a grey box changes nothing.
void bindFlag(QCheckBox *box, Flag SceneState::*flag);
// A label that shows a value of the document and nothing else.
void bindLabel(QLabel *label, const QString &value);
