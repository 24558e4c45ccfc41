#include "editor/controls/IWebLinkControl.h"

#include "editor/IEditorWindow.h"

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

IWebLinkControl::IWebLinkControl(IEditorWindow& owner, const IBox& box, std::string firstAddress,
                                 std::string secondAddress, std::string pageTitle)
    : IControl(owner, box), first(Limited(std::move(firstAddress), 255)),
      second(Limited(std::move(secondAddress), 255)), title(Limited(std::move(pageTitle), 1023))
{
}

void IWebLinkControl::OnMouseDown(int, int, const IMouseMod&)
{
    if (!editor.OpenWebPage(first, title, "", ""))
        editor.OpenWebPage(second, title, "", "");
}

} // namespace tpm
