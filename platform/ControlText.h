#pragma once
// Texts that keep to their controls. The windows were laid out for a small
// system font: a text that does not fit its control at this one takes a
// smaller size (down to 6 points) rather than being cut off.

class QAbstractButton;
class QLabel;

// A label's text, word-wrapped within the label.
void fitTextToLabel(QLabel *label);
// A button's or check box's caption: on one line, or broken at the blank that
// suits it best, beside a check box's indicator. The caption's text gains the
// line break; set the accessible name from the caption before.
void fitCaption(QAbstractButton *button);
