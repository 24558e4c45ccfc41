// A line of text in a fixed style (the version and the band name). The text lives in a fixed buffer, so
// replacing it at every frame tick never allocates; a tiny spin lock, held only for a copy, keeps the
// text whole for a reader on another thread.
#pragma once

#include "draw/ITextStyle.h"
#include "editor/IControl.h"

#include <atomic>
#include <string>

namespace tpm
{

class ITextControl : public IControl
{
  public:
    static constexpr int kMaxText = 128; // longer texts keep their first kMaxText - 1 bytes

    ITextControl(IEditorWindow& editor, const IBox& rect, const ITextStyle& style, const char* text);
    // An equal text changes nothing.
    void SetText(const char* text);
    std::string GetText() const;
    bool Draw(IEditorWindow& editor) override;

  private:
    ITextStyle textStyle;
    mutable std::atomic_flag busy = ATOMIC_FLAG_INIT;
    char text[kMaxText] = {};
};

} // namespace tpm
