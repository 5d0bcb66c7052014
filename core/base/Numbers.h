#pragma once
// Number rules the program relies on: rounding a half to the even neighbour,
// the 16-bit conversion of box texts, Val-style reading of a number at the
// start of a text and number-to-text in the default format with "." as the
// decimal point on every locale.

#include <QString>
#include <cstdint>
#include <optional>

// Nearest whole number, a half to the even neighbour (2.5 -> 2, 3.5 -> 4). A
// value beyond the range of long long gives the nearest end of that range, NaN
// gives 0; a caller that needs a narrower type checks the range itself.
long long roundHalfEven(double v);

// The 16-bit conversion of a text typed into a box: blanks around it are
// ignored, "." is the only decimal point, a real number is rounded half to
// even. Returns nothing when the text is not a number or the result does not
// fit in 16 bits. The same as int16Of(toReal(text)) for a text without ",".
std::optional<int16_t> toInt16(const QString &text);
// The same for 32 bits.
std::optional<int32_t> toInt32(const QString &text);

// A number as a Windows program wrote it in its user's format: blanks around
// it ignored, "." or "," as the decimal point. Returns nothing for an empty
// text, a text that is not a number, and one that is not finite ("nan",
// "inf", "1e400").
std::optional<double> toReal(const QString &text);
// A number rounded half to even into 16 or 32 bits; nothing when it does not
// fit or is not finite.
std::optional<int16_t> int16Of(double v);
std::optional<int32_t> int32Of(double v);

// Reads a number from the start of a text as Val does: leading blanks, tabs and
// line feeds are skipped, blanks inside the number too, reading stops at the
// first character that cannot belong to it; "&H" and "&O" prefixes are hex and
// octal. A text with no number gives 0, and so does a decimal number beyond
// the range of a double; a hexadecimal or octal one that long gives the
// largest double.
double val(const QString &text);

// A number in the default text format: up to `digits` significant digits, no
// trailing zeros, "." as the decimal point, "E+nn" / "E-nn" for very large or
// small values.
QString numberText(double v, int digits = 15);
inline QString numberText(float v) { return numberText(double(v), 7); }
