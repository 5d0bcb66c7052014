#pragma once
// The dynamic value of the shared scene state: unset, a whole number (16-bit
// Integer or 32-bit Long), a real number (Single or Double) or a text. It keeps
// the kind of what was last stored in it.

#include <QString>
#include <cstdint>
#include <variant>

class Value {
public:
    enum class Kind { Unset, Integer, Long, Single, Double, Text };

    Value() = default;
    static Value integer(int16_t v) { Value x; x.m_data = v; return x; }
    static Value longValue(int32_t v) { Value x; x.m_data = v; return x; }
    static Value single(float v) { Value x; x.m_data = v; return x; }
    static Value real(double v) { Value x; x.m_data = v; return x; }
    Value(const QString &text) : m_data(text) {}
    Value(const char *text) : m_data(QString::fromUtf8(text)) {}

    Kind kind() const { return static_cast<Kind>(m_data.index()); }
    bool isUnset() const { return kind() == Kind::Unset; }
    bool isNumber() const { return kind() != Kind::Unset && kind() != Kind::Text; }
    bool isText() const { return kind() == Kind::Text; }

    // Joined into a text: unset gives "", a number its decimal form in the
    // default format ("." as decimal point, 7 significant digits for Single,
    // 15 for Double).
    QString toText() const;
    // In arithmetic: unset counts as 0, a text is read as a number from its
    // start (as Val reads it).
    double toDouble() const;

    // Comparison as the dynamic value compares: unset equals "" against a text
    // and 0 against a number.
    bool equals(const Value &other) const;
    bool operator==(const Value &other) const { return equals(other); }

    // Arithmetic on two values; the result is a Double unless both are whole
    // numbers (then Long).
    friend Value operator+(const Value &a, const Value &b);
    friend Value operator-(const Value &a, const Value &b);

private:
    std::variant<std::monostate, int16_t, int32_t, float, double, QString> m_data;
};

// Joins values into text the way the "&" operator does.
inline QString operator&(const Value &a, const Value &b) { return a.toText() + b.toText(); }
