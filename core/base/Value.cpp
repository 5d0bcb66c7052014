#include "core/base/Value.h"

#include "core/base/Numbers.h"

QString Value::toText() const
{
    switch (kind()) {
    case Kind::Unset: return QString();
    case Kind::Integer: return QString::number(std::get<int16_t>(m_data));
    case Kind::Long: return QString::number(std::get<int32_t>(m_data));
    case Kind::Single: return numberText(std::get<float>(m_data));
    case Kind::Double: return numberText(std::get<double>(m_data), 15);
    case Kind::Text: return std::get<QString>(m_data);
    }
    return QString();
}

double Value::toDouble() const
{
    switch (kind()) {
    case Kind::Unset: return 0.0;
    case Kind::Integer: return std::get<int16_t>(m_data);
    case Kind::Long: return std::get<int32_t>(m_data);
    case Kind::Single: return std::get<float>(m_data);
    case Kind::Double: return std::get<double>(m_data);
    case Kind::Text: return val(std::get<QString>(m_data));
    }
    return 0.0;
}

bool Value::equals(const Value &other) const
{
    if (isText() || other.isText()) {
        if (isNumber() || other.isNumber())
            return toDouble() == other.toDouble();
        return toText() == other.toText();
    }
    return toDouble() == other.toDouble();
}

static bool isWhole(const Value &v)
{
    return v.kind() == Value::Kind::Unset || v.kind() == Value::Kind::Integer || v.kind() == Value::Kind::Long;
}

static Value arithmetic(const Value &a, const Value &b, double r)
{
    if (isWhole(a) && isWhole(b) && r >= INT32_MIN && r <= INT32_MAX)
        return Value::longValue(static_cast<int32_t>(r));
    return Value::real(r);
}

Value operator+(const Value &a, const Value &b) { return arithmetic(a, b, a.toDouble() + b.toDouble()); }
Value operator-(const Value &a, const Value &b) { return arithmetic(a, b, a.toDouble() - b.toDouble()); }
