// A line of text in a fixed style (the version and the band name). The text lives in a fixed buffer, so
// replacing it at every frame tick never allocates; a tiny spin lock, held only for a copy, keeps the
// text whole for a reader on another thread.
#pragma once

#include "draw/TextStyle.h"
#include "editor/Control.h"

#include <atomic>
#include <string>

namespace tpm
{

class TextControl : public Control
{
  public:
    static constexpr int kMaxText = 128; // longer texts keep their first kMaxText - 1 bytes

    TextControl(EditorWindow& editor, const PixelBox& rect, const TextStyle& style, const char* text);
    // An equal text changes nothing.
    void SetText(const char* text);
    std::string GetText() const;
    bool Draw(EditorWindow& editor) override;

  private:
    TextStyle textStyle;
    mutable std::atomic_flag busy = ATOMIC_FLAG_INIT;
    char text[kMaxText] = {};
};

} // namespace tpm
