#pragma once
// What a call that can fail gives back: the value, or the reason it failed.
//
//     const Result<QString> read = readSomething();
//     if (!read)
//         show(read.error);
//     use(read.value);
//
// The reason is a sentence for the user unless the call says otherwise; E
// names a typed reason where the caller chooses what to show. A call that
// gives nothing but its outcome returns Result<> (whose value is Done).

#include <QString>

#include <utility>

struct Done {};

template <typename T = Done, typename E = QString>
struct [[nodiscard]] Result {
    T value{};
    E error{};

    static Result success(T v = T{})
    {
        Result r;
        r.value = std::move(v);
        r.m_ok = true;
        return r;
    }
    static Result failure(E why)
    {
        Result r;
        r.error = std::move(why);
        return r;
    }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }

private:
    bool m_ok = false;
};
