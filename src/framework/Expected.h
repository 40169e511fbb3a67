// The outcome of an operation that can fail: the value it made, or the error that stopped it.
// Returned, it must be looked at; Expected<void, E> is success or the error.
#pragma once

#include <optional>
#include <utility>
#include <variant>

template <typename T, typename E>
class [[nodiscard]] Expected {
public:
    Expected(T value) : m_outcome(std::in_place_index<0>, std::move(value)) {}
    Expected(E error) : m_outcome(std::in_place_index<1>, std::move(error)) {}

    bool HasValue() const { return m_outcome.index() == 0; }
    explicit operator bool() const { return HasValue(); }

    T& Value() & { return std::get<0>(m_outcome); }
    const T& Value() const& { return std::get<0>(m_outcome); }
    T&& Value() && { return std::get<0>(std::move(m_outcome)); }
    T& operator*() & { return Value(); }
    const T& operator*() const& { return Value(); }
    T* operator->() { return &Value(); }
    const T* operator->() const { return &Value(); }

    const E& Error() const { return std::get<1>(m_outcome); }

private:
    std::variant<T, E> m_outcome;
};

template <typename E>
class [[nodiscard]] Expected<void, E> {
public:
    Expected() = default;
    Expected(E error) : m_error(std::move(error)) {}

    bool HasValue() const { return !m_error; }
    explicit operator bool() const { return HasValue(); }
    const E& Error() const { return *m_error; }

private:
    std::optional<E> m_error;
};
