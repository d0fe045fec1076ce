// Conversion register decoding and voltages, without a bus.
#include <gtest/gtest.h>

#include "analog/Board.h"

namespace brova::analog {
namespace {

TEST(AnalogDecoding, ResultIsBits15To4AndANegativeResultReadsZero) {
  const struct {
    uint16_t conversion;
    int32_t raw;
  } rows[] = {
      {0x7FF0, 2047}, {0x000F, 0}, {0x0010, 1}, {0x7FFF, 2047},
      {0x3E80, 1000}, {0xFFF0, 0}, {0x8000, 0}, {0xFFFF, 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(rawFromConversion(row.conversion), row.raw) << row.conversion;
}

TEST(AnalogDecoding, VoltsAreRawTimesFullScaleOver2048InSinglePrecision) {
  EXPECT_EQ(voltsFromRaw(2047, 5.0f), 4.99755859375f);
  EXPECT_EQ(voltsFromRaw(1024, 3.0f), 1.5f);
  EXPECT_EQ(voltsFromRaw(4095, 5.0f), 9.99755859375f);
  EXPECT_EQ(voltsFromRaw(1000, 0.0f), 0.0f);
  EXPECT_EQ(voltsFromRaw(1, 5.0f), 5.0f / 2048.0f);
}

TEST(AnalogDecoding, ConfigWordsOfTheFourChannels) {
  Board b;
  b.gainBits = kGain2048mV;
  b.dataRateBits = kRate1600;
  const uint16_t words[] = {0xC480, 0xD480, 0xE480, 0xF480};
  for (uint8_t channel = 0; channel < 4; ++channel)
    EXPECT_EQ(configWord(b, channel), words[channel]);
  EXPECT_EQ(configWord(Board{}, 0), 0xC000);  // before initialisation
}

}  // namespace
}  // namespace brova::analog
