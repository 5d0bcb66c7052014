#pragma once
// Check box values as the program uses them: 0 unticked, 1 ticked, 2 greyed.
// Setting a value by code runs the box's Click handler only when the value
// changes (handlers are connected to the state-change signal).

#include <QCheckBox>

inline int checkValue(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

inline void setCheckValue(QCheckBox *box, int value)
{
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

// Connects a box's value changes to its Click handler.
template <class Window>
void onCheckClick(QCheckBox *box, Window *window, void (Window::*handler)())
{
    QObject::connect(box, &QCheckBox::stateChanged, window, [window, handler](int) { (window->*handler)(); });
}
