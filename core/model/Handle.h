#pragma once

namespace lumivex {

// A grabbable part of a selected annotation.
struct Handle {
    enum class Type { corner, point, edge, rotate, bend };

    Type type = Type::corner;
    int index = 0; // meaningful for corner, point and edge only

    static constexpr Handle corner(int i) { return {Type::corner, i}; }
    static constexpr Handle point(int i) { return {Type::point, i}; }
    static constexpr Handle edge(int i) { return {Type::edge, i}; }
    static constexpr Handle rotate() { return {Type::rotate, 0}; }
    static constexpr Handle bend() { return {Type::bend, 0}; }

    constexpr bool operator==(const Handle&) const = default;
};

} // namespace lumivex
