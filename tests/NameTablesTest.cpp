#include "synth/NameTables.h"

#include <gtest/gtest.h>

namespace cs6 {
namespace {

TEST(NameTablesTest, EffectTypesByKey)
{
    InitNameTables();
    EXPECT_EQ(EffectTypeName(272), "Room 1");
    EXPECT_EQ(EffectTypeName(0x01, 0x10), "Room 1");
    EXPECT_EQ(EffectTypeName(0x00, 0x00), "THRU");
    EXPECT_EQ(EffectTypeName(0x02, 0x48), "Control Delay 2 (Stereo)");
    EXPECT_EQ(EffectTypeName(0x05, 0x30), "Ensemble Detune");
    EXPECT_EQ(EffectTypeName(0x07, 0x50), "Tempo Phaser");
    EXPECT_EQ(EffectTypeName(0x01, 0x02), "");
    EXPECT_EQ(EffectTypeName(0x7F, 0x7F), "");
}

} // namespace
} // namespace cs6
