// The index files are little-endian whatever the machine; these tests spell every expected byte
// out literally so that a codec which swaps the order or sign-extends a high byte cannot agree
// with itself.
#include "files/byte_coding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>

namespace tamrel {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(ByteCodingTest, EncodeFixed32WritesLowByteFirst) {
  char b[4] = {};
  EncodeFixed32(b, 0x04030201u);
  EXPECT_EQ(std::string(b, 4), Bytes({0x01, 0x02, 0x03, 0x04}));
  EncodeFixed32(b, 0xF0E0D0C0u);
  EXPECT_EQ(std::string(b, 4), Bytes({0xC0, 0xD0, 0xE0, 0xF0}));
}

TEST(ByteCodingTest, EncodeFixed32WritesExactlyFourBytes) {
  char b[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
  EncodeFixed32(b + 1, 0xFFFFFFFFu);
  EXPECT_EQ(std::string(b, 6), Bytes({'x', 0xFF, 0xFF, 0xFF, 0xFF, 'x'}));
}

TEST(ByteCodingTest, PutFixed32AppendsLittleEndian) {
  std::string out;
  PutFixed32(out, 0x04030201u);
  EXPECT_EQ(out, std::string("\x01\x02\x03\x04", 4));
  PutFixed32(out, 0);
  EXPECT_EQ(out, std::string("\x01\x02\x03\x04\x00\x00\x00\x00", 8));
  PutFixed32(out, 0x80FF7F01u);
  EXPECT_EQ(out, std::string("\x01\x02\x03\x04\x00\x00\x00\x00\x01\x7F\xFF\x80", 12));
}

TEST(ByteCodingTest, PutFixed64AppendsLittleEndian) {
  std::string out = "head";
  PutFixed64(out, 0x0807060504030201u);
  EXPECT_EQ(out, std::string("head\x01\x02\x03\x04\x05\x06\x07\x08", 12));
  out.clear();
  PutFixed64(out, 0x8090A0B0C0D0E0F0u);
  EXPECT_EQ(out, Bytes({0xF0, 0xE0, 0xD0, 0xC0, 0xB0, 0xA0, 0x90, 0x80}));
  out.clear();
  PutFixed64(out, 0x00000001FFFFFFFEu);
  EXPECT_EQ(out, Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00}));
}

TEST(ByteCodingTest, GetFixed32ReadsLowByteFirst) {
  const unsigned char plain[] = {0x01, 0x02, 0x03, 0x04};
  EXPECT_EQ(GetFixed32(plain), 0x04030201u);
  const char asChars[] = {0x01, 0x02, 0x03, 0x04};
  EXPECT_EQ(GetFixed32(asChars), 0x04030201u);
}

TEST(ByteCodingTest, GetFixed32HighBytesDoNotSignExtend) {
  // Through plain char every one of these bytes is negative; each must land in its own lane.
  const char low[] = {'\x80', 0x00, 0x00, 0x00};
  EXPECT_EQ(GetFixed32(low), 0x00000080u);
  const char second[] = {0x00, '\xFF', 0x00, 0x00};
  EXPECT_EQ(GetFixed32(second), 0x0000FF00u);
  const char third[] = {0x01, 0x00, '\x90', 0x00};
  EXPECT_EQ(GetFixed32(third), 0x00900001u);
  const char mixed[] = {'\xFE', 0x7F, '\x81', '\xC0'};
  EXPECT_EQ(GetFixed32(mixed), 0xC0817FFEu);
  const unsigned char mixedUnsigned[] = {0xFE, 0x7F, 0x81, 0xC0};
  EXPECT_EQ(GetFixed32(mixedUnsigned), 0xC0817FFEu);
  const char all[] = {'\xFF', '\xFF', '\xFF', '\xFF'};
  EXPECT_EQ(GetFixed32(all), 0xFFFFFFFFu);
}

TEST(ByteCodingTest, GetFixed32ReadsOnlyItsFourBytes) {
  const char bytes[] = {'\xAA', 0x01, 0x02, 0x03, 0x04, '\xBB'};
  EXPECT_EQ(GetFixed32(bytes + 1), 0x04030201u);
}

TEST(ByteCodingTest, GetFixed64ReadsLowByteFirst) {
  const unsigned char plain[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
  EXPECT_EQ(GetFixed64(plain), 0x0807060504030201u);
  const char asChars[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
  EXPECT_EQ(GetFixed64(asChars), 0x0807060504030201u);
}

TEST(ByteCodingTest, GetFixed64HighBytesDoNotSignExtend) {
  // A sign-extended low half would smear ones over the high half.
  const char lowHalfTop[] = {0x00, 0x00, 0x00, '\x80', 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(GetFixed64(lowHalfTop), 0x0000000080000000u);
  const char lowByte[] = {'\xFF', 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(GetFixed64(lowByte), 0x00000000000000FFu);
  const char highByte[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, '\x80'};
  EXPECT_EQ(GetFixed64(highByte), 0x8000000000000000u);
  const char mixed[] = {'\xF0', '\xE0', '\xD0', '\xC0', '\xB0', '\xA0', '\x90', '\x80'};
  EXPECT_EQ(GetFixed64(mixed), 0x8090A0B0C0D0E0F0u);
  const unsigned char mixedUnsigned[] = {0xF0, 0xE0, 0xD0, 0xC0, 0xB0, 0xA0, 0x90, 0x80};
  EXPECT_EQ(GetFixed64(mixedUnsigned), 0x8090A0B0C0D0E0F0u);
}

TEST(ByteCodingTest, RoundTripsAtTheLimits) {
  for (uint32_t v : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, std::numeric_limits<uint32_t>::max()}) {
    std::string out;
    PutFixed32(out, v);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(GetFixed32(out.data()), v);
  }
  for (uint64_t v : {uint64_t{0}, uint64_t{1}, uint64_t{0xFFFFFFFF}, uint64_t{0x100000000},
                     uint64_t{0x7FFFFFFFFFFFFFFF}, std::numeric_limits<uint64_t>::max()}) {
    std::string out;
    PutFixed64(out, v);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(GetFixed64(out.data()), v);
  }
  std::string zeros;
  PutFixed32(zeros, 0);
  PutFixed64(zeros, 0);
  EXPECT_EQ(zeros, std::string(12, '\0'));
  std::string ones;
  PutFixed32(ones, std::numeric_limits<uint32_t>::max());
  PutFixed64(ones, std::numeric_limits<uint64_t>::max());
  EXPECT_EQ(ones, std::string(12, '\xFF'));
}

}  // namespace
}  // namespace tamrel
