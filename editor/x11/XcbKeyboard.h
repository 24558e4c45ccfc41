#pragma once

#include "editor/IWindowLayer.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace tpm
{

// The server's key map (key code to key symbols), read once per window, and what the editor makes of
// a key: one of its key codes, a typed character, or an editing key of the entry field.
class XcbKeyboard
{
  public:
    enum class Edit
    {
        None,
        Enter,
        Escape,
        Backspace,
        Delete,
        Left,
        Right,
        Home,
        End,
        Up,
        Down,
    };

    // Reads the map; an empty map (the request failed) maps every key to nothing.
    void Load(xcb_connection_t* conn);
    // The key symbol of the key code at the shift level given by the modifier state.
    uint32_t Symbol(xcb_keycode_t code, uint16_t state) const;

    static std::optional<EditorKey> EditorKeyFor(uint32_t symbol);
    // The printable ASCII character the symbol types, or 0.
    static char CharacterFor(uint32_t symbol);
    static Edit EditFor(uint32_t symbol);

  private:
    xcb_keycode_t firstCode_ = 0;
    int perCode_ = 0;
    std::vector<uint32_t> symbols_;
};

} // namespace tpm
