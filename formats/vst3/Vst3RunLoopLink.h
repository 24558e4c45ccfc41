// What a view registers with the host's run loop (Linux): the timer and descriptor handlers, as an
// object of their own. The run loop holds references on what it calls, so the view itself is never
// registered: a host that lets the view go without removing it first still ends the view, whose
// destructor unregisters this link and cuts it off.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "formats/vst3/Vst3Object.h"

namespace tpm
{
class Vst3View;

class Vst3RunLoopLink : public vst3::ITimerHandler, public vst3::IEventHandler
{
  public:
    Vst3RunLoopLink(const Vst3RunLoopLink&) = delete;
    Vst3RunLoopLink& operator=(const Vst3RunLoopLink&) = delete;

    // From now on the link calls nothing.
    void Detach() { view = nullptr; }

    void onTimer() override;
    void onFDIsSet(vst3::FileDescriptor fd) override;

  protected:
    explicit Vst3RunLoopLink(Vst3View& view) : view(&view) {}
    ~Vst3RunLoopLink() = default;

  private:
    Vst3View* view; // not owned; null once detached
};

using Vst3RunLoopLinkObject = Vst3Object<Vst3RunLoopLink, vst3::ITimerHandler, vst3::IEventHandler>;
} // namespace tpm
