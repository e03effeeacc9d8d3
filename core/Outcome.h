#pragma once
// The result of every read and write: the value, or the message the user sees (and, for a long
// command, whether the user cancelled it). A failed step says why in the words shown in the message
// box or on standard error; nothing else reports failures.

#include <QString>

#include <optional>
#include <utility>

struct Failure
{
    QString message;
    bool cancelled = false;
};

template <typename T = void>
class [[nodiscard]] Outcome
{
public:
    Outcome(T value) : m_value(std::move(value)) {}
    Outcome(Failure failure) : m_failure(std::move(failure)) {}
    static Outcome failed(QString message) { return Outcome(Failure{std::move(message), false}); }
    static Outcome cancelledByUser() { return Outcome(Failure{QString(), true}); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    bool cancelled() const { return m_failure.cancelled; }
    // The message for the user; empty on success and after a cancel.
    const QString &message() const { return m_failure.message; }
    const Failure &failure() const { return m_failure; }

    T &value() & { return *m_value; }
    const T &value() const & { return *m_value; }
    T &&value() && { return std::move(*m_value); }
    T *operator->() { return &*m_value; }
    const T *operator->() const { return &*m_value; }
    T &operator*() & { return *m_value; }
    const T &operator*() const & { return *m_value; }

private:
    std::optional<T> m_value;
    Failure m_failure;
};

template <>
class [[nodiscard]] Outcome<void>
{
public:
    Outcome() = default;
    Outcome(Failure failure) : m_ok(false), m_failure(std::move(failure)) {}
    static Outcome failed(QString message) { return Outcome(Failure{std::move(message), false}); }
    static Outcome cancelledByUser() { return Outcome(Failure{QString(), true}); }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return ok(); }
    bool cancelled() const { return m_failure.cancelled; }
    const QString &message() const { return m_failure.message; }
    const Failure &failure() const { return m_failure; }

private:
    bool m_ok = true;
    Failure m_failure;
};
