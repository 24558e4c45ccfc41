// A host that floods changes far faster than it processes: what it reads back is what it set, and
// the first block after the flood sounds as if only the newest values had ever been set.
#include "support/LinkedPlugin.h"
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <gtest/gtest.h>
#include <vector>

namespace tpm
{
namespace
{
std::unique_ptr<Vst2HostedPlugin> Started()
{
    HostSettings settings;
    settings.playing = true;
    settings.recordCalls = false;
    std::string error;
    auto host = Vst2HostedPlugin::Create(&MakeLinkedPlugin, error, settings);
    EXPECT_TRUE(host) << error;
    host->Start();
    return host;
}

std::vector<float> Render(AEffect* e, int blocks)
{
    std::vector<float> all, l(256), r(256);
    for (int b = 0; b < blocks; ++b)
    {
        std::fill(l.begin(), l.end(), 0.0f);
        std::fill(r.begin(), r.end(), 0.0f);
        float* io[] = {l.data(), r.data()};
        e->processReplacing(e, io, io, 256);
        all.insert(all.end(), l.begin(), l.end());
        all.insert(all.end(), r.begin(), r.end());
    }
    return all;
}
} // namespace

TEST(QueueOverflow, TheNewestValueOfEachParameterWins)
{
    const int params[] = {0, 1, 3, 7, 12};
    const float last[] = {0.3f, 0.05f, 0.2f, 0.9f, 0.4f};
    auto flooded = Started();
    AEffect* e = flooded->Effect();
    for (int n = 0; n < 50000;
         ++n) // a flood between two blocks: each parameter waits once, with its newest value
        e->setParameter(e, params[0], static_cast<float>(n % 97) / 97.0f);
    for (int i = 0; i < 5; ++i)
        e->setParameter(e, params[i], last[i]);

    auto calm = Started();
    AEffect* c = calm->Effect();
    for (int i = 0; i < 5; ++i)
        c->setParameter(c, params[i], last[i]);
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(e->getParameter(e, i), c->getParameter(c, i)) << i;
    EXPECT_EQ(Render(e, 40), Render(c, 40));
}
} // namespace tpm
