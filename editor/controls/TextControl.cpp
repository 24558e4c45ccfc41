#include "editor/controls/TextControl.h"

#include "editor/EditorWindow.h"

#include <cstring>

namespace tpm
{

namespace
{
// Holds the text's spin lock for one copy.
class SpinGuard
{
  public:
    explicit SpinGuard(std::atomic_flag& f) : flag(f)
    {
        while (flag.test_and_set(std::memory_order_acquire))
        {
        }
    }
    ~SpinGuard() { flag.clear(std::memory_order_release); }
    SpinGuard(const SpinGuard&) = delete;
    SpinGuard& operator=(const SpinGuard&) = delete;

  private:
    std::atomic_flag& flag;
};
} // namespace

TextControl::TextControl(EditorWindow& owner, const PixelBox& box, const TextStyle& style,
                         const char* initial)
    : Control(owner, box), textStyle(style)
{
    SetText(initial);
}

void TextControl::SetText(const char* newText)
{
    const char* src = newText ? newText : "";
    const size_t len = strnlen(src, kMaxText - 1);
    {
        SpinGuard guard(busy);
        if (std::strncmp(text, src, len) == 0 && text[len] == '\0')
            return;
        std::memcpy(text, src, len);
        text[len] = '\0';
    }
    MarkDirty(false);
}

std::string TextControl::GetText() const
{
    SpinGuard guard(busy);
    return text;
}

bool TextControl::Draw(EditorWindow& e)
{
    char copy[kMaxText];
    {
        SpinGuard guard(busy);
        std::memcpy(copy, text, sizeof copy);
    }
    if (copy[0] == '\0')
        return true;
    return e.DrawText(textStyle, copy, rect);
}

} // namespace tpm
