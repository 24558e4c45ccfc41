// What the host sees of the plug-in lock: its messages arrive in order and only once the lock is
// free, and closing an instance waits for calls still inside it.
#include "support/LinkedPlugin.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace tpm
{
namespace
{
using namespace std::chrono_literals;

// A host of our own: records its messages, and for each one checks from another thread that
// the plug-in's lock can be taken (a plug-in holding it would keep that thread waiting).
struct RecordingHost
{
    struct Message
    {
        int32_t opcode;
        int32_t index;
        bool lockWasFree;
    };
    std::vector<Message> messages;
    AEffect* effect = nullptr;
    VstTimeInfo time{};
    std::atomic<bool> holdTimeQuery{false};
    std::atomic<bool> inTimeQuery{false};
};
RecordingHost* activeHost = nullptr;

VstIntPtr RecordingCallback(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float)
{
    RecordingHost& host = *activeHost;
    switch (opcode)
    {
    case vst::audioMasterAutomate:
    case vst::audioMasterBeginEdit:
    case vst::audioMasterEndEdit:
    case vst::audioMasterUpdateDisplay:
    {
        auto probe = std::async(std::launch::async, [e] { return e->getParameter(e, 0); });
        const bool free = probe.wait_for(2s) == std::future_status::ready;
        host.messages.push_back({opcode, index, free});
        return 0;
    }
    case vst::audioMasterGetTime:
        host.inTimeQuery = true;
        while (host.holdTimeQuery)
            std::this_thread::sleep_for(1ms);
        return reinterpret_cast<VstIntPtr>(&host.time);
    default:
        return 0;
    }
}

AEffect* StartPlugin(RecordingHost& host)
{
    activeHost = &host;
    host.time.sampleRate = 48000.0;
    host.time.tempo = 120.0;
    host.time.flags = vst::kVstTempoValid | vst::kVstTransportPlaying;
    AEffect* e = MakeLinkedPlugin(RecordingCallback);
    host.effect = e;
    e->dispatcher(e, vst::effOpen, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    e->dispatcher(e, vst::effMainsChanged, 0, 1, nullptr, 0.0f);
    return e;
}
} // namespace

TEST(LockDiscipline, HostMessagesFollowTheOutermostReleaseInOrder)
{
    RecordingHost host;
    AEffect* e = StartPlugin(host);
    TwinPulseToneMix& plug = *ProductOf(e);
    {
        ScopedLock guard(plug.Lock());
        plug.Host().BeginEdit(3);
        plug.Host().Automate(3, 0.5);
        plug.Host().EndEdit(3);
        plug.Host().UpdateDisplay();
        EXPECT_TRUE(host.messages.empty());
    }
    const std::vector<std::pair<int32_t, int32_t>> expected = {{vst::audioMasterBeginEdit, 3},
                                                               {vst::audioMasterAutomate, 3},
                                                               {vst::audioMasterEndEdit, 3},
                                                               {vst::audioMasterUpdateDisplay, 0}};
    ASSERT_EQ(host.messages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(host.messages[i].opcode, expected[i].first);
        EXPECT_EQ(host.messages[i].index, expected[i].second);
        EXPECT_TRUE(host.messages[i].lockWasFree) << i;
    }
    e->dispatcher(e, vst::effClose, 0, 0, nullptr, 0.0f);
}

TEST(LockDiscipline, CloseWaitsForCallsStillInside)
{
    RecordingHost host;
    AEffect* e = StartPlugin(host);
    // The audio thread stops inside its block's time query.
    host.holdTimeQuery = true;
    std::thread audio([e] {
        std::vector<float> l(64), r(64);
        float* io[] = {l.data(), r.data()};
        e->processReplacing(e, io, io, 64);
    });
    while (!host.inTimeQuery)
        std::this_thread::sleep_for(1ms);
    std::atomic<bool> setDone{false};
    std::thread automation([e, &setDone] {
        e->setParameter(e, 0, 0.25f); // queued for the next block: never waits for this one
        setDone = true;
    });
    std::atomic<bool> closed{false};
    std::thread closer([e, &closed] {
        std::this_thread::sleep_for(20ms);
        e->dispatcher(e, vst::effClose, 0, 0, nullptr, 0.0f);
        closed = true;
    });
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(setDone);
    host.holdTimeQuery = false;
    audio.join();
    automation.join();
    closer.join();
    EXPECT_TRUE(setDone);
    EXPECT_TRUE(closed);
}

// The lock is not re-entrant: a request made on the thread that already holds it stops with a
// message instead of waiting for itself.
TEST(LockDisciplineDeathTest, ARequestOnTheThreadHoldingTheLockStopsWithAMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    RecordingHost host;
    AEffect* e = StartPlugin(host);
    TwinPulseToneMix& plug = *ProductOf(e);
    EXPECT_DEATH(
        {
            ScopedLock guard(plug.Lock());
            plug.EditorControl().SetValue(3, 0.5);
        },
        "taken again");
    e->dispatcher(e, vst::effClose, 0, 0, nullptr, 0.0f);
}
} // namespace tpm
