#pragma once

// The values a numeric engine property accepts: lo … hi, both included.
template <typename T>
struct TRange {
    T lo;
    T hi;

    // Written so that a value that is not a number is refused too.
    constexpr bool operator()(T v) const { return v >= lo && v <= hi; }
};

// The one way an engine setter takes a value: nothing when it equals the
// stored one or `accepts` refuses it (a TRange, or a check that may report the
// value); otherwise it is stored and `changed` runs, usually the channel's
// UpdateMode. Returns whether the value was stored.
template <typename T, typename Accepts, typename Changed>
bool SetEngineValue(T& field, T value, Accepts accepts, Changed changed) {
    if (value == field || !accepts(value)) return false;
    field = value;
    changed();
    return true;
}

// Accepts every value: for properties without a range.
inline constexpr auto kAnyValue = [](const auto&) { return true; };

// SetEngineValue for the usual case: an accepted change runs the channel's
// update.
template <typename Channel, typename T, typename Accepts>
bool SetAndUpdate(Channel* channel, T& field, T value, Accepts accepts) {
    return SetEngineValue(field, value, accepts, [channel] { channel->UpdateMode(); });
}
