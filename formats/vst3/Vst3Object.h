// The FUnknown part every COM object of the binding shares: one reference count for the whole object
// and the lookup of an interface by id. Implementation holds the interfaces' methods; Interfaces lists
// the ids a host may ask for, in the order they are tried, base interfaces included (an interface that
// several listed ones derive from is answered through the first of them). FUnknown answers through the
// first listed interface, so every interface gives back one identity.
#pragma once

#include "formats/vst3/Vst3Abi.h"

#include <atomic>
#include <new>
#include <type_traits>
#include <utility>

namespace tpm
{
// Who ends an object: its last release, or the module (the factory: hosts count on it all the same,
// and a count already at zero stays there).
enum class Vst3Lifetime
{
    kUntilLastRelease,
    kModule,
};

template <Vst3Lifetime lifetime, typename Implementation, typename... Interfaces>
class Vst3Unknown final : public Implementation
{
    static_assert(sizeof...(Interfaces) > 0, "an object answers at least one interface");
    static_assert((std::is_base_of_v<Interfaces, Implementation> && ...));

  public:
    // A new object holding one reference, for the caller; null when memory runs out.
    template <typename... Args>
    static Vst3Unknown* Create(Args&&... args) requires(lifetime == Vst3Lifetime::kUntilLastRelease)
    {
        return new (std::nothrow) Vst3Unknown(std::forward<Args>(args)...);
    }

    // The module's one object, with a reference for the caller.
    static Vst3Unknown* OfModule() requires(lifetime == Vst3Lifetime::kModule)
    {
        static Vst3Unknown object;
        object.addRef();
        return &object;
    }

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) override
    {
        if (!obj)
            return vst3::kInvalidArgument;
        *obj = nullptr;
        if (vst3::SameUid(iid, vst3::FUnknown::iid))
            *obj = As<vst3::FUnknown, Interfaces...>();
        else
            (void)((vst3::SameUid(iid, Interfaces::iid) && (*obj = As<Interfaces, Interfaces...>())) || ...);
        if (!*obj)
            return vst3::kNoInterface;
        addRef();
        return vst3::kResultOk;
    }

    vst3::uint32 addRef() override { return refs.fetch_add(1, std::memory_order_relaxed) + 1; }

    vst3::uint32 release() override
    {
        if constexpr (lifetime == Vst3Lifetime::kModule)
        {
            vst3::uint32 now = refs.load();
            while (now > 0 && !refs.compare_exchange_weak(now, now - 1))
            {
            }
            return now > 0 ? now - 1 : 0;
        }
        else
        {
            const vst3::uint32 left = refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
            if (left == 0)
                delete this;
            return left;
        }
    }

  private:
    template <typename... Args>
    explicit Vst3Unknown(Args&&... args) : Implementation(std::forward<Args>(args)...)
    {
    }
    ~Vst3Unknown() = default;

    // This object as Wanted, through the first listed interface that is or derives from it.
    template <typename Wanted, typename First, typename... Rest> Wanted* As()
    {
        if constexpr (std::is_base_of_v<Wanted, First>)
            return static_cast<First*>(this);
        else
            return As<Wanted, Rest...>();
    }

    std::atomic<vst3::uint32> refs{lifetime == Vst3Lifetime::kModule ? 0u : 1u};
};

// An object that ends with its last release.
template <typename Implementation, typename... Interfaces>
using Vst3Object = Vst3Unknown<Vst3Lifetime::kUntilLastRelease, Implementation, Interfaces...>;
// The module's one object of its kind.
template <typename Implementation, typename... Interfaces>
using Vst3ModuleObject = Vst3Unknown<Vst3Lifetime::kModule, Implementation, Interfaces...>;
} // namespace tpm
