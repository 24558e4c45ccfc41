// A text in a fixed-size field: whatever is stored is cut to the field and always terminated,
// so no caller can overrun it and no reader runs past it.
#pragma once

#include <cstddef>
#include <cstring>

namespace tpm
{
template <std::size_t N> class FixedText
{
  public:
    static_assert(N >= 1);
    static constexpr std::size_t kCapacity = N - 1;

    FixedText() = default;
    explicit FixedText(const char* text) { Set(text); }

    void Set(const char* text)
    {
        std::size_t n = 0;
        if (text)
            while (n < kCapacity && text[n] != '\0')
                ++n;
        std::memcpy(chars, text ? text : "", n);
        chars[n] = '\0';
    }
    const char* Get() const { return chars; }
    std::size_t Length() const { return std::strlen(chars); }
    bool Empty() const { return chars[0] == '\0'; }
    bool operator==(const char* other) const { return other && std::strcmp(chars, other) == 0; }

  private:
    char chars[N] = {};
};
} // namespace tpm
