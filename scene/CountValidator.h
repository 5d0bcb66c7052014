#pragma once
// Keeps a box that takes a frame count or a frame number to what its 16-bit
// conversion can hold: a whole number from -32768 to 32767. An empty box or a
// lone sign may stand while the user types.

#include <QValidator>

class CountValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

class QLineEdit;
// Gives the box a CountValidator.
void acceptCountsOnly(QLineEdit *box);
