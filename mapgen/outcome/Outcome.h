#pragma once

#include <concepts>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "Failure.h"

namespace mapgen {

template <typename T>
class Outcome;

// What an Outcome<T> holding a value is made from: whatever a T is made
// from, but a Failure or another Outcome.
template <typename U, typename T>
concept ValueOf = std::constructible_from<T, U&&> &&
                  !std::same_as<std::remove_cvref_t<U>, Failure> &&
                  !std::same_as<std::remove_cvref_t<U>, Outcome<T>>;

// What a call that can fail gives back: its value, or the Failure that
// kept it from one. Outcome<void> is success or a Failure alone. It tests
// true when it holds a value; the compiler warns of one left unread.
template <typename T>
class [[nodiscard]] Outcome {
 public:
  template <ValueOf<T> U = T>
  Outcome(U&& value) : state_(std::in_place_index<0>, std::forward<U>(value)) {}
  Outcome(Failure failure)
      : state_(std::in_place_index<1>, std::move(failure)) {}

  explicit operator bool() const { return state_.index() == 0; }

  T& operator*() & { return std::get<0>(state_); }
  const T& operator*() const& { return std::get<0>(state_); }
  T&& operator*() && { return std::get<0>(std::move(state_)); }
  T* operator->() { return &std::get<0>(state_); }
  const T* operator->() const { return &std::get<0>(state_); }

  const Failure& failure() const& { return std::get<1>(state_); }
  Failure&& failure() && { return std::get<1>(std::move(state_)); }

 private:
  std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Outcome<void> {
 public:
  Outcome() = default;
  Outcome(Failure failure) : failure_(std::move(failure)) {}

  explicit operator bool() const { return !failure_; }

  const Failure& failure() const& { return *failure_; }
  Failure&& failure() && { return *std::move(failure_); }

 private:
  std::optional<Failure> failure_;
};

}  // namespace mapgen
