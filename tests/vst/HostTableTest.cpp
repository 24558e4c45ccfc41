#include "formats/vst2/HostTable.h"

#include <gtest/gtest.h>

namespace tpm
{
TEST(HostTable, FirstMatchAnywhereIgnoringCase)
{
    EXPECT_EQ(static_cast<int>(LookUpHost("Steinberg Nuendo Cubase")), 3);
    EXPECT_EQ(static_cast<int>(LookUpHost("STEINBERG CUBASE")), 3);
    EXPECT_EQ(static_cast<int>(LookUpHost("Ableton Live 11")), 9);
    EXPECT_EQ(static_cast<int>(LookUpHost("Deliverance")), 9); // "live" inside a longer word
    EXPECT_EQ(static_cast<int>(LookUpHost("Digital Performer")), 22);
    EXPECT_EQ(static_cast<int>(LookUpHost("Adobe Audition")), 17);
    EXPECT_EQ(static_cast<int>(LookUpHost("REAPER")), 1);
    EXPECT_EQ(static_cast<int>(LookUpHost("Ardour")), 27);
    EXPECT_EQ(static_cast<int>(LookUpHost("Bitwig Studio")), 0);
    EXPECT_EQ(static_cast<int>(LookUpHost("")), 0);
    EXPECT_EQ(static_cast<int>(LookUpHost(nullptr)), 0);
}

TEST(HostTable, DecimalVersionsArePacked)
{
    EXPECT_EQ(PackDecimalVersion(10203), 0x10203);
    EXPECT_EQ(PackDecimalVersion(2400), 0x001800);
    EXPECT_EQ(PackDecimalVersion(0), 0);
}
} // namespace tpm
