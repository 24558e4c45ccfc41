// The host a VST3 plug-in sees: the context it is initialised with (IHostApplication), the component
// handler its controller reports edits to, and the frame its editor view lives in (IPlugFrame, and
// on Linux the run loop behind it). Edits are checked for the user-interface thread, passed on to the
// host (so that the processor hears them) and printed with --log-automation.
// A reference-counted object: made with one reference for the host, which release() drops.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "tools/hostkit/HostedInstance.h"
#include "tools/hostkit/PendingResize.h"
#include "tools/hostkit/Vst3RunLoop.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace tpm
{
class Vst3HostServices final : public vst3::IHostApplication,
                               public vst3::IComponentHandler,
                               public vst3::IPlugFrame
{
  public:
    // The thread that makes the services is the user-interface thread.
    static Vst3HostServices* Create(const HostSettings& settings);
    Vst3HostServices(const Vst3HostServices&) = delete;
    Vst3HostServices& operator=(const Vst3HostServices&) = delete;

    vst3::FUnknown* Context() { return static_cast<vst3::IHostApplication*>(this); }
    vst3::IComponentHandler* Handler() { return this; }
    vst3::IPlugFrame* Frame() { return this; }
    // The size the view last asked the frame for (resizeView), once.
    bool TakeResizeRequest(int& width, int& height);
    Vst3RunLoop& RunLoop() { return runLoop; }

    // Where an edit goes (the host queues it for the processor) and how a parameter id reads in the
    // log; both unset by Detach, when the instance closes.
    std::function<void(vst3::ParamID, vst3::ParamValue)> onPerformEdit;
    std::function<int(vst3::ParamID)> indexOf;
    void Detach();

    // Edits the controller made outside the user-interface thread.
    int EditsOffUiThread() const { return offUiThread.load(); }

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) override;
    vst3::uint32 addRef() override { return ++references; }
    vst3::uint32 release() override;

    vst3::tresult getName(vst3::String128 name) override;
    vst3::tresult createInstance(vst3::TUID cid, vst3::TUID iid, void** obj) override;

    vst3::tresult beginEdit(vst3::ParamID id) override;
    vst3::tresult performEdit(vst3::ParamID id, vst3::ParamValue valueNormalized) override;
    vst3::tresult endEdit(vst3::ParamID id) override;
    vst3::tresult restartComponent(vst3::int32 flags) override;

    vst3::tresult resizeView(vst3::IPlugView* view, vst3::ViewRect* newSize) override;

  private:
    explicit Vst3HostServices(const HostSettings& settings);
    ~Vst3HostServices() = default;
    bool OnUiThread() const { return std::this_thread::get_id() == uiThread; }
    enum class EditKind
    {
        kBegin,
        kPerform,
        kEnd
    };
    vst3::tresult Note(EditKind kind, vst3::ParamID id, vst3::ParamValue value);

    std::atomic<vst3::uint32> references{1};
    std::string name;
    bool logToStderr;
    std::thread::id uiThread;
    Vst3RunLoop runLoop;
    std::atomic<int> offUiThread{0};
    PendingResize resize;
};
} // namespace tpm
