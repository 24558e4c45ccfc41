#include "editor/x11/XcbKeyboard.h"

#include <cstdlib>

namespace tpm
{

namespace
{

// Key symbol values from the X protocol's key symbol table.
constexpr uint32_t kSymSpace = 0x20;
constexpr uint32_t kSymBackspace = 0xff08;
constexpr uint32_t kSymReturn = 0xff0d;
constexpr uint32_t kSymEscape = 0xff1b;
constexpr uint32_t kSymHome = 0xff50;
constexpr uint32_t kSymLeft = 0xff51;
constexpr uint32_t kSymUp = 0xff52;
constexpr uint32_t kSymRight = 0xff53;
constexpr uint32_t kSymDown = 0xff54;
constexpr uint32_t kSymEnd = 0xff57;
constexpr uint32_t kSymKeypadEnter = 0xff8d;
constexpr uint32_t kSymKeypadMultiply = 0xffaa;
constexpr uint32_t kSymKeypad9 = 0xffb9;
constexpr uint32_t kSymDelete = 0xffff;
constexpr uint32_t kSymKeypadDelete = 0xff9f;
constexpr uint16_t kShiftMask = XCB_MOD_MASK_SHIFT;
constexpr uint16_t kLockMask = XCB_MOD_MASK_LOCK;

} // namespace

void XcbKeyboard::Load(xcb_connection_t* conn)
{
    symbols_.clear();
    perCode_ = 0;
    const xcb_setup_t* setup = xcb_get_setup(conn);
    firstCode_ = setup->min_keycode;
    const auto count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    xcb_get_keyboard_mapping_reply_t* reply =
        xcb_get_keyboard_mapping_reply(conn, xcb_get_keyboard_mapping(conn, firstCode_, count), nullptr);
    if (!reply)
        return;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    symbols_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(reply));
    perCode_ = reply->keysyms_per_keycode;
    std::free(reply);
}

uint32_t XcbKeyboard::Symbol(xcb_keycode_t code, uint16_t state) const
{
    if (perCode_ == 0 || code < firstCode_)
        return 0;
    const size_t base = static_cast<size_t>(code - firstCode_) * perCode_;
    if (base + perCode_ > symbols_.size())
        return 0;
    const uint32_t plain = symbols_[base];
    const uint32_t shifted = perCode_ > 1 && symbols_[base + 1] != 0 ? symbols_[base + 1] : plain;
    // Keypad keys take the shifted (digit) level when Num Lock is on; the map alone cannot tell which
    // modifier that is, so the digit level is used whenever the key has one.
    if (shifted >= kSymKeypadMultiply && shifted <= kSymKeypad9)
        return shifted;
    uint32_t symbol = (state & kShiftMask) ? shifted : plain;
    const bool upper = ((state & kShiftMask) != 0) != ((state & kLockMask) != 0);
    if (symbol >= 'a' && symbol <= 'z' && upper)
        symbol -= 'a' - 'A';
    return symbol;
}

std::optional<EditorKey> XcbKeyboard::EditorKeyFor(uint32_t symbol)
{
    switch (symbol)
    {
    case kSymSpace:
        return EditorKey::Space;
    case kSymUp:
        return EditorKey::Up;
    case kSymDown:
        return EditorKey::Down;
    case kSymLeft:
        return EditorKey::Left;
    case kSymRight:
        return EditorKey::Right;
    default:
        break;
    }
    if (symbol >= '0' && symbol <= '9')
        return static_cast<EditorKey>(static_cast<int>(EditorKey::Digit0) + static_cast<int>(symbol - '0'));
    if (symbol >= 'a' && symbol <= 'z')
        symbol -= 'a' - 'A';
    if (symbol >= 'A' && symbol <= 'Z')
        return static_cast<EditorKey>(static_cast<int>(EditorKey::LetterA) + static_cast<int>(symbol - 'A'));
    return std::nullopt;
}

char XcbKeyboard::CharacterFor(uint32_t symbol)
{
    if (symbol >= 0x20 && symbol <= 0x7e)
        return static_cast<char>(symbol);
    // Keypad symbols sit 0xff80 above their ASCII characters.
    if (symbol >= kSymKeypadMultiply && symbol <= kSymKeypad9)
        return static_cast<char>(symbol - 0xff80);
    return 0;
}

XcbKeyboard::Edit XcbKeyboard::EditFor(uint32_t symbol)
{
    switch (symbol)
    {
    case kSymReturn:
    case kSymKeypadEnter:
        return Edit::Enter;
    case kSymEscape:
        return Edit::Escape;
    case kSymBackspace:
        return Edit::Backspace;
    case kSymDelete:
    case kSymKeypadDelete:
        return Edit::Delete;
    case kSymLeft:
        return Edit::Left;
    case kSymRight:
        return Edit::Right;
    case kSymHome:
        return Edit::Home;
    case kSymEnd:
        return Edit::End;
    case kSymUp:
        return Edit::Up;
    case kSymDown:
        return Edit::Down;
    default:
        return Edit::None;
    }
}

} // namespace tpm
