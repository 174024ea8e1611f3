#include "records/RecordHead.h"
#include "tests/records/RecordBytes.h"

#include <algorithm>
#include <string>

namespace ledgrin {
namespace {

using test::Bytes;
using test::ExpectSameBytes;
using test::Pattern;

constexpr std::size_t kBallSize = 792;

TEST(HeadFields, ReadLittleEndianUnsignedValues) {
    Bytes rec = Pattern(kBallSize);
    const Bytes head = {0x01, 0x00, 0x00, 0x00,  // Enabled 1
                        0x05, 0x00, 0x00, 0x84}; // TypeID 0x84000005 (bit 31 set, still unsigned)
    std::copy(head.begin(), head.end(), rec.begin());
    rec[0x30] = 0x85;                                                       // Level: index 5, maximum
    rec[0x5C] = 0x40, rec[0x5D] = 0xE2, rec[0x5E] = 0x01, rec[0x5F] = 0x00; // Price 123456
    rec[0x60] = 0xFF, rec[0x61] = 0xFF, rec[0x62] = 0xFF, rec[0x63] = 0xFF; // DiscountPrice 4294967295
    rec[0x68] = 0xA3;
    rec[0x69] = 0xFE;

    EXPECT_EQ(RecordEnabled(rec.data()), 1u);
    EXPECT_EQ(RecordTypeId(rec.data()), 0x84000005u);
    EXPECT_EQ(RecordLevel(rec.data()), 0x85);
    EXPECT_EQ(RecordPrice(rec.data()), 123456u);
    EXPECT_EQ(RecordDiscountPrice(rec.data()), 4294967295u);
    EXPECT_EQ(RecordShopFlags(rec.data()), 0xA3);
    EXPECT_EQ(RecordMarkFlags(rec.data()), 0xFE);
}

TEST(NameIsBounded, ByItsNulOrByItsFortyBytes) {
    Bytes rec = Pattern(kBallSize);
    test::PutText(rec, 8, "Driver", 40);
    EXPECT_EQ(RecordName(rec.data()), "Driver");

    // No NUL in bytes 8..47; byte 48 (Level) is not a NUL either and must not be read as name.
    for (std::size_t i = 8; i < 48; ++i)
        rec[i] = 'A' + (i % 26);
    rec[48] = 'Z';
    const std::string_view name = RecordName(rec.data());
    EXPECT_EQ(name.size(), 40u);
    EXPECT_EQ(name.back(), 'A' + (47 % 26));
}

TEST(NameWrite, ClearsFortyBytesAndKeepsAtMost39Characters) {
    const Bytes before = Pattern(kBallSize);

    Bytes rec = before;
    SetRecordName(rec.data(), "Iron");
    Bytes expected = before;
    test::PutText(expected, 8, "Iron", 40); // zeros behind the NUL, whatever was there
    ExpectSameBytes(expected, rec);

    rec = before;
    const std::string forty(40, 'x');
    SetRecordName(rec.data(), forty);
    expected = before;
    test::PutText(expected, 8, std::string(39, 'x').c_str(), 40);
    ExpectSameBytes(expected, rec);

    rec = before;
    SetRecordName(rec.data(), "");
    expected = before;
    test::PutText(expected, 8, "", 40);
    ExpectSameBytes(expected, rec);
}

TEST(NameWrite, StopsAtAnEmbeddedNul) {
    Bytes rec = Pattern(kBallSize);
    SetRecordName(rec.data(), std::string_view("Put\0ter", 7));
    EXPECT_EQ(RecordName(rec.data()), "Put");
    for (std::size_t i = 11; i < 48; ++i)
        EXPECT_EQ(rec[i], 0) << i;
}

TEST(NameWrite, AcceptsAViewOfTheNameItReplaces) {
    Bytes rec = Pattern(kBallSize);
    for (std::size_t i = 8; i < 48; ++i)
        rec[i] = 'q';
    SetRecordName(rec.data(), RecordName(rec.data()));
    EXPECT_EQ(RecordName(rec.data()), std::string(39, 'q'));
    EXPECT_EQ(rec[47], 0);
}

} // namespace
} // namespace ledgrin
