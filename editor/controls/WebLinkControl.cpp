#include "editor/controls/WebLinkControl.h"

#include "editor/EditorWindow.h"

#include <utility>

namespace tpm
{

namespace
{
std::string Limited(std::string text, size_t most)
{
    if (text.size() > most)
        text.resize(most);
    return text;
}
} // namespace

WebLinkControl::WebLinkControl(EditorWindow& owner, const PixelBox& box, std::string firstAddress,
                               std::string secondAddress, std::string pageTitle)
    : Control(owner, box), first(Limited(std::move(firstAddress), 255)),
      second(Limited(std::move(secondAddress), 255)), title(Limited(std::move(pageTitle), 1023))
{
}

void WebLinkControl::OnMouseDown(int, int, const MouseMod&)
{
    if (!editor.OpenWebPage(first, title, "", ""))
        editor.OpenWebPage(second, title, "", "");
}

} // namespace tpm
