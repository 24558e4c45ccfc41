#pragma once

#include "draw/Font.h"
#include "draw/TextStyle.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

namespace tpm
{

// The process-wide store of system fonts, by size, orientation, style bits, quality and face. Fonts are made
// once and shared by every instance and control; they live until the module is unloaded.
class FontCache
{
  public:
    static FontCache& Instance();

    // The font for these attributes, made on first use; null when the platform cannot make it.
    Font* Get(int size, int orientation, int style, const char* face, int quality);

    // The style's font: the one it remembers, else the cache's (which it then remembers).
    Font* ForStyle(TextStyle& style);
    // The style's font at an editor scale: its size times the scale, so that text is rasterised at the
    // size it is shown rather than enlarged. The style remembers the last scaled one.
    Font* ForStyle(TextStyle& style, double scale);

  private:
    using Key = std::tuple<int, int, int, int, std::string>;
    std::mutex lock_;
    std::map<Key, std::unique_ptr<Font>> fonts_;
};

} // namespace tpm
