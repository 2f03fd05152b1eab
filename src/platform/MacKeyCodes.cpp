#include "platform/MacKeyCodes.hpp"

#include <array>
#include <cctype>
#include <string>

#include "platform/InputEvent.hpp"

namespace quorvane::platform {

namespace {

// Characters of the ANSI layout by key code, unshifted and shifted.
struct Printable {
    std::uint16_t code;
    char plain;
    char shifted;
};
constexpr Printable printable[] = {
    {0, 'a', 'A'},   {1, 's', 'S'},   {2, 'd', 'D'},   {3, 'f', 'F'},   {4, 'h', 'H'},
    {5, 'g', 'G'},   {6, 'z', 'Z'},   {7, 'x', 'X'},   {8, 'c', 'C'},   {9, 'v', 'V'},
    {11, 'b', 'B'},  {12, 'q', 'Q'},  {13, 'w', 'W'},  {14, 'e', 'E'},  {15, 'r', 'R'},
    {16, 'y', 'Y'},  {17, 't', 'T'},  {18, '1', '!'},  {19, '2', '@'},  {20, '3', '#'},
    {21, '4', '$'},  {22, '6', '^'},  {23, '5', '%'},  {24, '=', '+'},  {25, '9', '('},
    {26, '7', '&'},  {27, '-', '_'},  {28, '8', '*'},  {29, '0', ')'},  {30, ']', '}'},
    {31, 'o', 'O'},  {32, 'u', 'U'},  {33, '[', '{'},  {34, 'i', 'I'},  {35, 'p', 'P'},
    {37, 'l', 'L'},  {38, 'j', 'J'},  {39, '\'', '"'}, {40, 'k', 'K'},  {41, ';', ':'},
    {42, '\\', '|'}, {43, ',', '<'},  {44, '/', '?'},  {45, 'n', 'N'},  {46, 'm', 'M'},
    {47, '.', '>'},  {49, ' ', ' '},  {50, '`', '~'},
};

struct Named {
    std::string_view name;
    std::uint16_t code;
};
constexpr Named named[] = {
    {"Return", 36},     {"Enter", 36},     {"Tab", 48},       {"Space", 49},
    {"Backspace", 51},  {"Delete", 117},   {"Del", 117},      {"Esc", 53},
    {"Escape", 53},     {"Left", 123},     {"Right", 124},    {"Down", 125},
    {"Up", 126},        {"Home", 115},     {"End", 119},      {"PgUp", 116},
    {"PageUp", 116},    {"PgDown", 121},   {"PageDown", 121}, {"F1", 122},
    {"F2", 120},        {"F3", 99},        {"F4", 118},       {"F5", 96},
    {"F6", 97},         {"F7", 98},        {"F8", 100},       {"F9", 101},
    {"F10", 109},       {"F11", 103},      {"F12", 111},      {"F13", 105},
    {"F14", 107},       {"F15", 113},      {"F16", 106},      {"F17", 64},
    {"F18", 79},        {"F19", 80},       {"F20", 90},       {"Help", 114},
    {"Shift", 56},      {"Ctrl", 59},      {"Control", 59},   {"Alt", 58},
    {"Option", 58},     {"Meta", 55},      {"Command", 55},   {"CapsLock", 57},
};

// X11 key codes 8..135 (evdev 0..127) to Mac key codes; `none` for keys
// without a Mac counterpart.
constexpr std::uint16_t none = 0xFFFF;
constexpr std::array<std::uint16_t, 136> x11Table = [] {
    std::array<std::uint16_t, 136> table{};
    table.fill(none);
    const std::pair<int, std::uint16_t> pairs[] = {
        {9, 53},    {10, 18},  {11, 19},  {12, 20},  {13, 21},  {14, 23},  {15, 22},  {16, 26},
        {17, 28},   {18, 25},  {19, 29},  {20, 27},  {21, 24},  {22, 51},  {23, 48},  {24, 12},
        {25, 13},   {26, 14},  {27, 15},  {28, 17},  {29, 16},  {30, 32},  {31, 34},  {32, 31},
        {33, 35},   {34, 33},  {35, 30},  {36, 36},  {37, 59},  {38, 0},   {39, 1},   {40, 2},
        {41, 3},    {42, 5},   {43, 4},   {44, 38},  {45, 40},  {46, 37},  {47, 41},  {48, 39},
        {49, 50},   {50, 56},  {51, 42},  {52, 6},   {53, 7},   {54, 8},   {55, 9},   {56, 11},
        {57, 45},   {58, 46},  {59, 43},  {60, 47},  {61, 44},  {62, 60},  {63, 67},  {64, 58},
        {65, 49},   {66, 57},  {67, 122}, {68, 120}, {69, 99},  {70, 118}, {71, 96},  {72, 97},
        {73, 98},   {74, 100}, {75, 101}, {76, 109}, {79, 89},  {80, 91},  {81, 92},  {82, 78},
        {83, 86},   {84, 87},  {85, 88},  {86, 69},  {87, 83},  {88, 84},  {89, 85},  {90, 82},
        {91, 65},   {95, 103}, {96, 111}, {104, 76}, {105, 62}, {106, 75}, {108, 61}, {110, 115},
        {111, 126}, {112, 116}, {113, 123}, {114, 124}, {115, 119}, {116, 125}, {117, 121},
        {118, 114}, {119, 117}, {133, 55}, {134, 54}, {135, 110},
    };
    for (auto [x, mac] : pairs)
        table[static_cast<std::size_t>(x)] = mac;
    return table;
}();

// The first X11 key code in each Mac key code's place; 0 for none.
constexpr std::array<std::uint8_t, 128> macToX11Table = [] {
    std::array<std::uint8_t, 128> table{};
    for (std::size_t x = 8; x < x11Table.size(); ++x)
        if (const auto mac = x11Table[x]; mac < table.size() && table[mac] == 0)
            table[mac] = static_cast<std::uint8_t>(x);
    return table;
}();

}  // namespace

std::optional<std::uint16_t> macKeyCodeForName(std::string_view name) {
    for (const auto& key : named)
        if (key.name == name)
            return key.code;
    if (name.size() == 1) {
        const char character =
            static_cast<char>(std::tolower(static_cast<unsigned char>(name.front())));
        if (auto key = macKeyForCharacter(character))
            return key->code;
    }
    return std::nullopt;
}

std::optional<KeyForCharacter> macKeyForCharacter(char character) {
    if (character == '\n')
        return KeyForCharacter{macKey::returnKey, false};
    if (character == '\t')
        return KeyForCharacter{macKey::tab, false};
    for (const auto& key : printable) {
        if (key.plain == character)
            return KeyForCharacter{key.code, false};
        if (key.shifted == character)
            return KeyForCharacter{key.code, true};
    }
    return std::nullopt;
}

char usBaseCharacter(std::uint16_t code) {
    for (const auto& key : printable)
        if (key.code == code)
            return key.plain;
    return 0;
}

std::optional<std::uint16_t> macKeyCodeForX11(std::uint8_t keycode) {
    if (keycode >= x11Table.size() || x11Table[keycode] == none)
        return std::nullopt;
    return x11Table[keycode];
}

std::optional<std::uint8_t> x11KeyCodeForMac(std::uint16_t code) {
    if (code >= macToX11Table.size() || macToX11Table[code] == 0)
        return std::nullopt;
    return macToX11Table[code];
}

std::uint64_t modifierFlagOfKey(std::uint16_t code) {
    switch (code) {
        case macKey::shift:
        case macKey::rightShift:
            return modifier::shift;
        case macKey::control:
        case macKey::rightControl:
            return modifier::control;
        case macKey::option:
        case macKey::rightOption:
            return modifier::option;
        case macKey::command:
        case macKey::rightCommand:
            return modifier::command;
        case macKey::capsLock:
            return modifier::capsLock;
        case macKey::function:
            return modifier::function;
        default:
            return 0;
    }
}

}  // namespace quorvane::platform
