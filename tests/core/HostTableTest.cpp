#include "core/HostTable.h"

#include <gtest/gtest.h>

TEST(HostTable, FirstMatchAnywhereIgnoringCase)
{
    EXPECT_EQ(LookUpHost("Steinberg Nuendo Cubase"), 3);
    EXPECT_EQ(LookUpHost("STEINBERG CUBASE"), 3);
    EXPECT_EQ(LookUpHost("Ableton Live 11"), 9);
    EXPECT_EQ(LookUpHost("Deliverance"), 9); // "live" inside a longer word
    EXPECT_EQ(LookUpHost("Digital Performer"), 22);
    EXPECT_EQ(LookUpHost("Adobe Audition"), 17);
    EXPECT_EQ(LookUpHost("REAPER"), 1);
    EXPECT_EQ(LookUpHost("Ardour"), 27);
    EXPECT_EQ(LookUpHost("Bitwig Studio"), 0);
    EXPECT_EQ(LookUpHost(""), 0);
    EXPECT_EQ(LookUpHost(nullptr), 0);
}

TEST(HostTable, DecimalVersionsArePacked)
{
    EXPECT_EQ(PackDecimalVersion(10203), 0x10203);
    EXPECT_EQ(PackDecimalVersion(2400), 0x001800);
    EXPECT_EQ(PackDecimalVersion(0), 0);
}
