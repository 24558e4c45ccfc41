#include "plugin/PluginInstance.h"
#include "support/TestModule.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace tpm
{
TEST(EffectRecord, IdentityAsTheHostSeesIt)
{
    auto plugin = LoadTestModule();
    ASSERT_TRUE(plugin);
    const AEffect* e = plugin->Effect();
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->numPrograms, 150);
    EXPECT_EQ(e->numParams, 23);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags & ~1, 0x1018); // the editor flag comes with the editor
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->realQualities, 0);
    EXPECT_EQ(e->offQualities, 0);
    EXPECT_EQ(e->resvd1, 0);
    EXPECT_EQ(e->resvd2, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->uniqueID, 0x6E61686A);
    EXPECT_EQ(e->version, 10000);
    EXPECT_NE(e->object, nullptr);
    EXPECT_TRUE(e->dispatcher && e->process && e->processReplacing && e->processDoubleReplacing &&
                e->setParameter && e->getParameter);
    const char zeros[56] = {};
    EXPECT_EQ(std::memcmp(e->future, zeros, sizeof zeros), 0);
}

// Names, units and texts are pinned in tests/product/product.golden; the host reads the product's.
TEST(EffectRecord, ParametersWithTheProductsNamesLabelsAndDisplays)
{
    auto plugin = LoadTestModule();
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(plugin && product);
    for (int i = 0; i < 23; ++i)
    {
        SCOPED_TRACE(i);
        char shown[64];
        ASSERT_TRUE(product->FormatValue(i, product->ParamValue(i), shown, sizeof shown));
        EXPECT_EQ(plugin->ParamName(i), product->Param(i)->Name());
        EXPECT_EQ(plugin->ParamLabel(i), product->Param(i)->Label());
        EXPECT_EQ(plugin->ParamDisplay(i), shown);
    }
    EXPECT_EQ(plugin->ParamDisplay(0), "200.0");
    AEffect* e = plugin->Effect();
    EXPECT_FLOAT_EQ(e->getParameter(e, 7), 0.5f);
    EXPECT_FLOAT_EQ(e->getParameter(e, 0), static_cast<float>(std::sqrt(180.0 / 19980.0)));
    EXPECT_EQ(e->getParameter(e, 22), 0.0f);
    EXPECT_EQ(e->getParameter(e, 23), 0.0f);
    EXPECT_EQ(e->getParameter(e, -1), 0.0f);
}

TEST(EffectRecord, ParameterCallbacksSetAndClampValues)
{
    auto plugin = LoadTestModule();
    ASSERT_TRUE(plugin);
    AEffect* e = plugin->Effect();
    e->setParameter(e, 7, 0.25f);
    EXPECT_EQ(plugin->ParamDisplay(7), "25");
    e->setParameter(e, 2, 3.0f / 7.0f);
    EXPECT_EQ(plugin->ParamDisplay(2), "Square");
    e->setParameter(e, 6, -1.0f);
    EXPECT_EQ(plugin->ParamDisplay(6), "1");
    e->setParameter(e, 6, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(plugin->ParamDisplay(6), "1");
    e->setParameter(e, 6, 7.0f);
    EXPECT_EQ(plugin->ParamDisplay(6), "90000");
    e->setParameter(e, 99, 0.5f); // ignored
    e->setParameter(e, -3, 0.5f);
}
} // namespace tpm
