#pragma once

namespace lumivex {

// Where the background text scan of one document stands: idle until started, scanning, then found with the
// number of characters read, or none (nothing found, or the scan failed). It never goes back to idle.
struct TextScan {
    enum class State { found, idle, scanning, none };

    State state = State::idle;
    int characterCount = 0; // only for found

    static TextScan found(int characterCount) { return {State::found, characterCount}; }
    static TextScan idle() { return {State::idle, 0}; }
    static TextScan scanning() { return {State::scanning, 0}; }
    static TextScan none() { return {State::none, 0}; }

    bool operator==(const TextScan&) const = default;
};

} // namespace lumivex
