// A line of text in a fixed style (the version and the band name). Any thread may replace the text:
// it lives in a fixed buffer swapped under a tiny spin lock that is held only for a copy, so a writer on
// the audio thread never waits behind drawing and never allocates.
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
    // Safe from any thread; an equal text changes nothing.
    void SetText(const char* text);
    std::string GetText() const;
    bool Draw(IEditorWindow& editor) override;

  private:
    ITextStyle textStyle;
    mutable std::atomic_flag busy = ATOMIC_FLAG_INIT;
    char text[kMaxText] = {};
};

} // namespace tpm
