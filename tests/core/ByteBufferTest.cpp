#include "core/ByteBuffer.h"

#include <gtest/gtest.h>
#include <vector>

namespace tpm
{
TEST(ByteBuffer, AppendsLittleEndianAndReadsBack)
{
    ByteBuffer b;
    EXPECT_EQ(b.Data(), nullptr);
    ASSERT_TRUE(b.AppendInt32(0x00010000));
    ASSERT_TRUE(b.AppendDouble(1.0));
    ASSERT_TRUE(b.AppendText("ab"));
    const std::vector<uint8_t> expected = {0x00, 0x00, 0x01, 0x00, 0, 0, 0, 0,   0,
                                           0,    0xF0, 0x3F, 2,    0, 0, 0, 'a', 'b'};
    ASSERT_EQ(b.Size(), static_cast<int>(expected.size()));
    EXPECT_EQ(std::vector<uint8_t>(b.Data(), b.Data() + b.Size()), expected);

    int32_t i = 0;
    double d = 0.0;
    EXPECT_EQ(b.ReadInt32(0, i), 4);
    EXPECT_EQ(i, 0x00010000);
    EXPECT_EQ(b.ReadDouble(4, d), 12);
    EXPECT_EQ(d, 1.0);
}

TEST(ByteBuffer, ReadsNeverLeaveTheBuffer)
{
    ByteBuffer b;
    b.AppendDouble(2.0);
    double d = 0.0;
    int32_t i = 0;
    EXPECT_EQ(b.ReadDouble(1, d), -1);
    EXPECT_EQ(b.ReadDouble(-1, d), -1);
    EXPECT_EQ(b.ReadDouble(0x7FFFFFFF, d), -1);
    EXPECT_EQ(b.ReadInt32(5, i), -1);
    EXPECT_EQ(b.ReadInt32(4, i), 8);
    EXPECT_EQ(b.Remaining(9), 0);
    EXPECT_FALSE(b.Resize(-1));
    EXPECT_FALSE(b.AppendBytes(nullptr, 3));
    EXPECT_EQ(b.Size(), 8);
}

TEST(ByteBuffer, ResizeZeroesNewBytes)
{
    ByteBuffer b;
    b.AppendInt32(-1);
    ASSERT_TRUE(b.Resize(8));
    EXPECT_EQ(b.Data()[3], 0xFF);
    EXPECT_EQ(b.Data()[7], 0x00);
    b.Clear();
    EXPECT_EQ(b.Size(), 0);
}
} // namespace tpm
