#include "demo/DemoRecords.h"

#include "records/Labels.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"
#include "records/TypeIdFields.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace ledgrin {

namespace {

// ---- Word lists: every name in the demo is built from these (all made up for Ledgrin).

struct Words {
    const char* const* items;
    std::uint32_t count;
};
template <std::size_t N> constexpr Words W(const char* const (&items)[N]) {
    return {items, static_cast<std::uint32_t>(N)};
}

const char* const kAdjectives[] = {
    "Breeze",  "Granite", "Meadow",  "Harbor", "Ember",    "Frost",    "Willow",    "Copper",  "Lantern",
    "Summit",  "Drift",   "Saffron", "Cobalt", "Thistle",  "Marble",   "Tidal",     "Heather", "Falcon",
    "Orchard", "Velvet",  "Quarry",  "Nimbus", "Pinecone", "Rosewood", "Sandpiper", "Juniper"};
// Names with bytes from 0x80 up (Latin-1), for the search and the name sort.
const char* const kLatinAdjectives[] = {"Caf\xE9", "\xC9lan", "Cr\xE8me", "Fr\xEAne", "Fj\xF6rd", "Se\xF1or"};

// Colour variants, so that a large table does not repeat the same few names.
const char* const kColours[] = {"Navy",  "Crimson", "Ivory",   "Olive", "Teal",
                                "Slate", "Coral",   "Mustard", "Plum",  "Sky"};
const char* const kTops[] = {"Polo", "Vest", "Windbreaker", "Cardigan", "Jersey", "Pullover"};
const char* const kBottoms[] = {"Slacks", "Skort", "Chinos", "Shorts", "Plus Fours", "Culottes"};
const char* const kHeadwear[] = {"Visor", "Cap", "Beret", "Bucket Hat", "Headband", "Flat Cap"};
const char* const kGloves[] = {"Glove", "Grip Glove", "Mitts", "Half Gloves"};
const char* const kShoes[] = {"Spikes", "Loafers", "Cleats", "Brogues", "Sneakers"};
const char* const kAccessories[] = {"Scarf", "Wristband", "Lapel Pin", "Goggles", "Tie"};
const char* const kPrototypes[] = {"Prototype Patch", "Test Swatch"};
const char* const kEmblems[] = {"Emblem", "Crest", "Monogram"};
const char* const kEmblemCopies[] = {"Emblem Copy", "Crest Copy"};
// Garments by PartSlot 0 to 9; slot 6 is never generated.
const Words kGarments[] = {W(kTops),        W(kBottoms),    W(kHeadwear),   W(kGloves),  W(kShoes),
                           W(kAccessories), W(kPrototypes), W(kPrototypes), W(kEmblems), W(kEmblemCopies)};

const char* const kActiveItems[] = {"Tailwind Tonic", "Spin Chalk", "Power Drink", "Lucky Tee",
                                    "Steady Gum",     "Aim Lens",   "Safety Net",  "Time Booster"};
const char* const kPassiveItems[] = {"Crell Charm", "Exp Pouch", "Caddie Whistle", "Practice Log",
                                     "Rain Hood"};
const char* const kItemSizes[] = {"Small", "Large", "Jumbo", "Pocket"};
const char* const kClubWords[] = {"Driver", "Irons", "Wood Set", "Club Set", "Wedge Set", "Hybrid Set"};
const char* const kBallWords[] = {"Comet", "Ball", "Dimple", "Orbit", "Pearl"};
const char* const kAnimals[] = {"Puffin", "Otter",  "Badger", "Hedgehog",
                                "Gecko",  "Marmot", "Heron",  "Tortoise"};
const char* const kCaddies[] = {"Osric",   "Wren",   "Tamsin", "Perrin", "Nell",
                                "Barnaby", "Maudie", "Quill",  "Rook",   "Sable"};
const char* const kSeasons[] = {"Spring", "Summer", "Autumn", "Winter", "Festival"};
const char* const kCaddieThings[] = {"Umbrella", "Cap", "Towel", "Satchel", "Lantern", "Scarf"};
const char* const kGems[] = {"Amber", "Quartz", "Jade", "Opal", "Garnet", "Onyx"};
const char* const kJewels[] = {"Ring", "Earring", "Bracelet", "Anklet", "Brooch"};
const char* const kHairStyles[] = {"Braid", "Quiff", "Bob", "Ponytail", "Crop", "Curls", "Bun", "Mohawk"};
const char* const kPlaces[] = {"Dune Sunset", "Harbor Night", "Maple Valley", "Glacier Bay", "Lighthouse"};
const char* const kMaterials[] = {"Oak", "Brass", "Ivy", "Chrome", "Driftwood"};
const char* const kStickers[] = {"Birdie", "Par Save", "Chip-In", "Eagle", "Hole-in-One"};
const char* const kTitles[] = {"Early Riser", "Sand Dancer", "Putt Whisperer", "Fog Walker", "Rain Golfer"};
const char* const kEffects[] = {"Tailwind",     "Backspin",   "Long Drive",
                                "Soft Landing", "Crell Rush", "Exp Surge"};
const char* const kRarities[] = {"", "", "Rare ", "Super Rare "};
const char* const kNpcs[] = {"Groundskeeper", "Club Pro", "Starter", "Marshal", "Ball Boy"};

// Exactly 40 bytes, stored without a NUL as another tool might have written it.
constexpr char kFullWidthName[] = "Grand Fairway Tournament Windbreaker Pro";
static_assert(sizeof kFullWidthName - 1 == kNameSize, "the name must fill the field");

// The first word of a name and the text around it. Adjective (sometimes Latin-1) and
// Character are chosen by BuildName; their rows in kLeadWords are not used.
enum class Lead { Adjective, Character, Gem, Place, Material, Sticker, Title, Caddie, Effect, Season, Npc };
const Words kLeadWords[] = {W(kAdjectives), W(kAdjectives), W(kGems),   W(kPlaces),
                            W(kMaterials),  W(kStickers),   W(kTitles), W(kCaddies),
                            W(kEffects),    W(kSeasons),    W(kNpcs)};
struct NamePattern {
    Lead lead;
    const char* before;
    const char* after;
};

// Position of "Passive" among the item kinds.
constexpr std::uint32_t kPassiveKind = 1;

// Character codes that have a name (13 has none).
const std::uint32_t kNamedCharacters[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14};

std::string Pick(DemoRandom& r, Words w) {
    return w.items[r.Below(w.count)];
}

std::string Adjective(DemoRandom& r, std::size_t index) {
    return index % 23 == 11 ? Pick(r, W(kLatinAdjectives)) : Pick(r, W(kAdjectives));
}

std::string CharacterName(std::uint32_t code) {
    const char* name = kCharacterNames.At(code);
    return name ? name : "Guest";
}

std::string BuildName(DemoRandom& r, const NamePattern& p, std::size_t index, std::uint32_t character) {
    std::string lead = p.lead == Lead::Adjective   ? Adjective(r, index)
                       : p.lead == Lead::Character ? CharacterName(character)
                                                   : Pick(r, kLeadWords[static_cast<int>(p.lead)]);
    return p.before + lead + p.after;
}

// ---- Writing fields by name, through the record layer.

// A field name the record layer does not know marks the build as failed.
struct FieldWriter {
    DemoContext& c;
    TableIndex t;
    std::uint8_t* record;

    void Set(std::string_view name, std::uint32_t value) {
        const FieldDef* field = FindField(t, name);
        if (field)
            SetField(record, *field, value);
        else
            c.ok = false;
    }
    void SetIndexed(const char* name, std::size_t i, std::uint32_t value) {
        Set(name + std::to_string(i), value);
    }
    void Stats(const std::uint32_t first[5], const std::uint32_t second[5]) {
        StatBlock layout = StatLayout(t);
        WriteStatGroup(record, layout.first, first);
        WriteStatGroup(record, layout.second, second);
    }
};

// Every byte non-zero, so a test can tell a carried byte from a cleared one.
void FillWithFiller(DemoRandom& filler, std::uint8_t* record, std::size_t size) {
    for (std::size_t i = 0; i < size; i += 8) {
        std::uint64_t bits = filler.Next64();
        for (std::size_t j = 0; j < 8 && i + j < size; ++j) {
            std::uint8_t b = static_cast<std::uint8_t>(bits >> (8 * j));
            record[i + j] = b ? b : 0x5A;
        }
    }
}

std::uint32_t NewTypeId(DemoContext& c, TableIndex t, std::uint32_t chr, std::uint32_t mid) {
    std::uint32_t prefix = WithTypeIdBits(0, kTypeIdGroup, kDemoTables[t].group);
    prefix = WithTypeIdBits(prefix, kTypeIdChar, chr);
    prefix = WithTypeIdBits(prefix, kTypeIdPos, mid);
    std::uint32_t serial = c.nextSerial[prefix]++;
    if (serial >= 1u << kTypeIdPos.shift) c.ok = false; // would run into the pos bits
    return prefix | serial;
}

// The TypeID char of a kind (label position) of Item or Skin: the kind times the scale
// that the table's kind filter uses.
std::uint32_t KindCode(TableIndex t, std::uint32_t kind) {
    const FieldDef* field = FilterField(t, ListFilter::Char);
    return field ? kind * field->scale : kind;
}

// ---- The common head.

struct PriceRange {
    std::uint32_t crellLo, crellHi; // multiples of 100
    std::uint32_t pointLo, pointHi; // multiples of 5
    std::uint32_t pointsPercent;    // share of records priced in Points
};

std::uint32_t LevelByte(DemoRandom& r) {
    if (!r.Percent(25)) return 0;
    return r.Between(1, 16) | (r.Percent(30) ? kLevelMaximum : 0);
}

std::uint32_t ShopFlags(DemoRandom& r, bool points) {
    std::uint32_t f = points ? kShopPoints : 0;
    if (r.Percent(40)) f |= kShopTradeable;
    std::uint32_t shop = r.Below(100);
    if (shop < 70)
        f |= kShopAvailable;
    else if (shop < 80)
        f |= kShopDisplayOnly;
    else if (shop < 83)
        f |= kShopAvailable | kShopDisplayOnly; // both, as some tools leave it
    if (r.Percent(20)) f |= kShopNotGiftable;
    if (r.Percent(10)) f |= r.Between(1, 7) << 2; // bits 2 to 4: not interpreted, must survive
    return f;
}

std::uint32_t MarkFlags(DemoRandom& r) {
    std::uint32_t m = 0;
    if (r.Percent(10)) m |= kMarkNew;
    if (r.Percent(8)) m |= kMarkHot;
    if (r.Percent(5)) m |= r.Between(1, 63) << 2; // bits 2 to 7: not interpreted
    return m;
}

// Returns the price written.
std::uint32_t FillHead(DemoContext& c, FieldWriter& w, std::size_t index, std::uint32_t typeId,
                       const std::string& name, const PriceRange& p) {
    w.Set("Enabled", index % 41 == 7 ? 0 : 1); // a few records the item list hides
    w.Set("TypeID", typeId);
    SetRecordName(w.record, name);
    bool points = c.rng.Percent(p.pointsPercent);
    std::uint32_t price = points ? c.rng.Between(p.pointLo / 5, p.pointHi / 5) * 5
                                 : c.rng.Between(p.crellLo / 100, p.crellHi / 100) * 100;
    w.Set("Price", price);
    w.Set("DiscountPrice", c.rng.Percent(15) ? price / 10 * 8 : 0);
    w.Set("Level", LevelByte(c.rng));
    w.Set("ShopFlags", ShopFlags(c.rng, points));
    w.Set("MarkFlags", MarkFlags(c.rng));
    return price;
}

void RandomStats(DemoRandom& r, std::uint32_t out[5], std::uint32_t lo, std::uint32_t hi) {
    for (int i = 0; i < 5; ++i)
        out[i] = r.Between(lo, hi);
}

// ---- One filler per item table.

const std::uint32_t kPartCharacters[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 255};
const std::uint32_t kFirstPartSlots[] = {0, 1, 2, 3, 4, 5, 8, 9};
const std::uint32_t kPartSlots[] = {0, 0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 8, 9};

void FillPart(DemoContext& c, FieldWriter& w, std::size_t index) {
    // The first sixteen parts cover every character code and slot, also in a small table.
    std::uint32_t chr = index < 16 ? kPartCharacters[index] : c.rng.Pick(kPartCharacters);
    std::uint32_t slot = index < 16 ? kFirstPartSlots[index % 8] : c.rng.Pick(kPartSlots);
    if (index == 18) chr = 20;      // a character code without a name
    if (index % 53 == 17) slot = 7; // a slot without a label
    std::string lead = Adjective(c.rng, index);
    std::string noun = Pick(c.rng, kGarments[slot]);
    std::string name = lead + " " + noun;
    if (c.rng.Percent(60)) name += " " + Pick(c.rng, W(kColours));
    FillHead(c, w, index, NewTypeId(c, kPartTable, chr, slot), name, {1500, 24000, 80, 980, 30});
    if (index == 5) std::memcpy(w.record + kNameOffset, kFullWidthName, kNameSize);
    w.Set("PartSlot", slot);
    std::uint32_t stats[5], slots[5];
    RandomStats(c.rng, stats, 0, 3);
    RandomStats(c.rng, slots, 0, 5);
    w.Stats(stats, slots);
}

void FillItem(DemoContext& c, FieldWriter& w, std::size_t index) {
    bool passive = index % 3 == 2;
    std::string name = Pick(c.rng, passive ? W(kPassiveItems) : W(kActiveItems));
    if (c.rng.Percent(40)) name = Pick(c.rng, W(kItemSizes)) + " " + name;
    FillHead(c, w, index,
             NewTypeId(c, kItemTable, KindCode(kItemTable, passive ? kPassiveKind : 0), c.rng.Below(4)), name,
             {100, 3000, 5, 150, 40});
}

void FillClubSet(DemoContext& c, FieldWriter& w, std::size_t index) {
    std::string lead = Adjective(c.rng, index);
    std::string noun = Pick(c.rng, W(kClubWords));
    std::string name = lead + " " + noun;
    FillHead(c, w, index, NewTypeId(c, kClubSetTable, 0, c.rng.Below(4)), name, {5000, 60000, 300, 2500, 35});
    std::uint32_t stats[5], maximums[5];
    RandomStats(c.rng, stats, 1, 9);
    for (int i = 0; i < 5; ++i)
        maximums[i] = stats[i] + c.rng.Between(2, 6);
    w.Stats(stats, maximums);
}

void FillBall(DemoContext& c, FieldWriter& w, std::size_t index) {
    std::string lead = Adjective(c.rng, index);
    std::string noun = Pick(c.rng, W(kBallWords));
    std::string name = lead + " " + noun;
    FillHead(c, w, index, NewTypeId(c, kBallTable, 0, c.rng.Below(3)), name, {200, 3000, 10, 200, 30});
}

const std::uint32_t kBonusPercents[] = {0, 0, 0, 110, 120, 130, 150}; // 0 means 100: no bonus

void FillMascot(DemoContext& c, FieldWriter& w, std::size_t index) {
    std::string lead = Adjective(c.rng, index);
    std::string noun = Pick(c.rng, W(kAnimals));
    std::string name = lead + " " + noun;
    std::uint32_t price =
        FillHead(c, w, index, NewTypeId(c, kMascotTable, 0, 0), name, {3000, 40000, 400, 2500, 60});
    w.Set("PriceCopy", price);
    w.Set("Price7Days", price / 40 * 10);
    w.Set("Price30Days", price * 3 / 40 * 10);
    std::uint32_t stats[5], none[5] = {};
    RandomStats(c.rng, stats, 0, 2);
    w.Stats(stats, none);
    // Drawn one after the other: the order of two draws in one expression is unspecified.
    const std::uint32_t expBonus = c.rng.Pick(kBonusPercents);
    const std::uint32_t crellBonus = c.rng.Pick(kBonusPercents);
    w.Set("BonusRates", expBonus << 16 | crellBonus);
    // Bits 1 and 2 are not the editor's; some mascots carry them.
    w.Set("MascotFlags", (c.rng.Percent(30) ? 1u : 0u) | (index % 5 == 3 ? 6u : 0u));
}

void FillCaddie(DemoContext& c, FieldWriter& w, std::size_t index) {
    std::string name = kCaddies[index % 10];
    if (index >= 10) name += " (" + Pick(c.rng, W(kSeasons)) + ")";
    std::uint32_t price =
        FillHead(c, w, index, NewTypeId(c, kCaddieTable, 0, 0), name, {8000, 90000, 500, 3000, 40});
    std::uint32_t monthly = c.rng.Percent(33) ? price : 0;
    if (index == 1) { // paid monthly at a rate that differs from the price
        w.Set("Price", 300);
        w.Set("DiscountPrice", 0);
        monthly = 500;
    }
    w.Set("MonthlyPrice", monthly);
    std::uint32_t stats[5], none[5] = {};
    RandomStats(c.rng, stats, 0, 3);
    w.Stats(stats, none);
}

const std::uint32_t kSkinKinds[] = {0, 1, 2, 3, 5, 6};
// By skin kind 0 to 6; kind 4 is never generated.
const NamePattern kSkinNames[] = {
    {Lead::Place, "", " Backdrop"}, {Lead::Material, "", " Frame"}, {Lead::Sticker, "", " Sticker"},
    {Lead::Adjective, "", " Slot"}, {Lead::Adjective, "", " Slot"}, {Lead::Character, "", " Cut-In"},
    {Lead::Title, "Title: ", ""},
};

void FillSkin(DemoContext& c, FieldWriter& w, std::size_t index) {
    std::uint32_t kind = index < 6 ? kSkinKinds[index] : c.rng.Pick(kSkinKinds);
    std::string name = BuildName(c.rng, kSkinNames[kind], index, c.rng.Pick(kNamedCharacters));
    std::uint32_t price = FillHead(c, w, index, NewTypeId(c, kSkinTable, KindCode(kSkinTable, kind), 0), name,
                                   {500, 8000, 50, 600, 50});
    w.Set("Price7Days", price / 50 * 10);
    w.Set("Price30Days", price / 20 * 10);
}

void FillAuxPart(DemoContext& c, FieldWriter& w, std::size_t index) {
    std::uint32_t jewel = c.rng.Below(5);
    std::string name = Pick(c.rng, W(kGems)) + " " + kJewels[jewel];
    FillHead(c, w, index, NewTypeId(c, kAuxPartTable, 0, jewel), name, {2000, 30000, 100, 1200, 50});
    std::uint32_t stats[5], slots[5];
    RandomStats(c.rng, stats, 0, 2);
    RandomStats(c.rng, slots, 0, 1);
    w.Stats(stats, slots);
}

void FillCharacter(DemoContext& c, FieldWriter& w, std::size_t index) {
    std::uint32_t code = kNamedCharacters[index % 14];
    PriceRange price = index < 4 ? PriceRange{0, 0, 0, 0, 0} : PriceRange{20000, 80000, 1000, 4000, 50};
    FillHead(c, w, index, NewTypeId(c, kCharacterTable, code, 0), CharacterName(code), price);
    std::uint32_t stats[5], slots[5];
    RandomStats(c.rng, stats, 12, 30);
    RandomStats(c.rng, slots, 0, 4);
    if (index == 3) stats[0] = 258; // above 255: its StatCopy byte holds 2
    w.Stats(stats, slots);
    for (std::size_t i = 0; i < 5; ++i)
        w.SetIndexed("StatCopy", i, stats[i] & 0xFF);
}

const std::uint32_t kHairCharacters[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 255};

void FillHairStyle(DemoContext& c, FieldWriter& w, std::size_t index) {
    std::uint32_t chr = index < 15 ? kHairCharacters[index] : c.rng.Pick(kHairCharacters);
    std::string style = Pick(c.rng, W(kHairStyles));
    std::string name = chr == 255 ? "Plain " + style + " Wig" : CharacterName(chr) + "'s " + style;
    FillHead(c, w, index, NewTypeId(c, kHairStyleTable, chr, 0), name, {1000, 12000, 60, 500, 40});
    w.Set("CharacterIndex", chr);
}

void FillCaddieItem(DemoContext& c, FieldWriter& w, std::size_t index) {
    std::string owner = Pick(c.rng, W(kCaddies));
    std::string thing = Pick(c.rng, W(kCaddieThings));
    std::string name = owner + "'s " + thing;
    std::uint32_t price =
        FillHead(c, w, index, NewTypeId(c, kCaddieItemTable, 0, 0), name, {1000, 20000, 50, 800, 40});
    if (index == 2) { // a price beyond 16 bits: PriceCopy holds its low 16 bits
        price = 123456;
        w.Set("Price", price);
        w.Set("ShopFlags", kShopAvailable);
    }
    w.Set("PriceCopy", price);
    w.Set("Price7Days", price / 50 * 10);
    w.Set("Price30Days", price / 20 * 10);
}

// ---- SetItem: members are drawn from the tables built before.

enum class Match { Any, SameCharacter, Passive };

struct SetGroupRule {
    std::uint32_t group; // position in ItemGroupLabels
    TableIndex source;
    Match match;
    std::uint32_t minCount, maxCount, quantityLo, quantityHi;
    NamePattern name;
};
const SetGroupRule kSetGroupRules[] = {
    {2, kPartTable, Match::SameCharacter, 3, 6, 1, 1, {Lead::Character, "", " Starter Set"}},
    {4, kPartTable, Match::SameCharacter, 2, 5, 1, 1, {Lead::Character, "", " Outfit"}},
    {5, kAuxPartTable, Match::Any, 2, 4, 1, 1, {Lead::Gem, "", " Jewel Box"}},
    {9, kClubSetTable, Match::Any, 1, 3, 1, 1, {Lead::Adjective, "", " Club Bundle"}},
    {11, kBallTable, Match::Any, 1, 3, 10, 50, {Lead::Adjective, "", " Comet Pack"}},
    {13, kItemTable, Match::Passive, 1, 4, 1, 20, {Lead::Season, "", " Item Crate"}},
    {17, kCardTable, Match::Any, 3, 8, 1, 3, {Lead::Adjective, "", " Card Holic Bundle"}},
};

bool Matches(const std::uint8_t* record, Match match, std::uint32_t chr) {
    std::uint32_t id = RecordTypeId(record);
    return match == Match::Any || (match == Match::SameCharacter && TypeIdBits(id, kTypeIdChar) == chr) ||
           (match == Match::Passive && TypeIdBits(id, kTypeIdChar) == KindCode(kItemTable, kPassiveKind));
}

std::uint32_t PickMember(DemoContext& c, TableIndex t, Match match, std::uint32_t chr) {
    std::size_t count = c.store[t].RecordCount;
    if (count == 0) return kDemoDanglingTypeId;
    for (int tries = 0; tries < 64; ++tries) {
        const std::uint8_t* record = c.store.Record(t, c.rng.Below(static_cast<std::uint32_t>(count)));
        if (Matches(record, match, chr)) return RecordTypeId(record);
    }
    for (std::size_t i = 0; i < count; ++i)
        if (Matches(c.store.Record(t, i), match, chr)) return RecordTypeId(c.store.Record(t, i));
    return RecordTypeId(c.store.Record(t, 0));
}

struct Member {
    std::uint32_t typeId, quantity;
};

std::vector<Member> SetMembers(DemoContext& c, const SetGroupRule& rule, std::uint32_t chr,
                               std::size_t index) {
    std::uint32_t n = rule.group == 17 && index == 6 ? 10 : c.rng.Between(rule.minCount, rule.maxCount);
    if (index == 8) n = 0; // an empty set
    std::vector<Member> members;
    for (std::uint32_t i = 0; i < n; ++i)
        members.push_back(
            {PickMember(c, rule.source, rule.match, chr), c.rng.Between(rule.quantityLo, rule.quantityHi)});
    if (index == 3 && !members.empty()) members[0].quantity = 0; // shown as 1
    if (index == 9 && !members.empty()) members.back().typeId = kDemoDanglingTypeId;
    return members;
}

void FillSetItem(DemoContext& c, FieldWriter& w, std::size_t index) {
    const std::size_t ruleCount = sizeof kSetGroupRules / sizeof kSetGroupRules[0];
    const SetGroupRule& rule = kSetGroupRules[index < ruleCount ? index : c.rng.Below(ruleCount)];
    // pos (bits 13..17) names the character for the Char and Part groups.
    std::uint32_t pos = rule.group == 2 || rule.group == 4 ? c.rng.Pick(kNamedCharacters) : 0;
    std::string name = index == 8 ? std::string("Empty Gift Box") : BuildName(c.rng, rule.name, index, pos);
    // SetGroup is bits 20..25, that is char (bits 18..25) = group x 4.
    FillHead(c, w, index, NewTypeId(c, kSetItemTable, rule.group << 2, pos), name,
             {5000, 80000, 300, 3000, 50});
    std::vector<Member> members = SetMembers(c, rule, pos, index);
    w.Set("MemberCount", static_cast<std::uint32_t>(members.size()));
    for (std::size_t i = 0; i < 10; ++i) {
        // Entries behind MemberCount keep filler: they are not members and must not be shown.
        bool used = i < members.size();
        w.SetIndexed("MemberTypeID", i, used ? members[i].typeId : c.filler.Next());
        w.SetIndexed("MemberQuantity", i, used ? members[i].quantity : c.filler.Next());
    }
}

// ---- Card.

const std::uint32_t kCardKinds[] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 4, 5};
// By card kind 0 to 5.
const NamePattern kCardNames[] = {
    {Lead::Character, "", " Card"},   {Lead::Caddie, "", " Caddie Card"}, {Lead::Effect, "", " Card"},
    {Lead::Season, "", " Card Pack"}, {Lead::Adjective, "", " Card Box"}, {Lead::Npc, "", " Card"},
};

std::uint32_t CardVolume(DemoRandom& r, std::size_t index) {
    if (index == 6) return 7; // a volume without a label
    return index < 5 ? static_cast<std::uint32_t>(index) : r.Below(5);
}

void FillCardValues(DemoContext& c, FieldWriter& w, std::uint32_t kind) {
    std::uint32_t slots[5] = {}, none[5] = {};
    if (kind <= 1) RandomStats(c.rng, slots, 0, 3);
    w.Stats(slots, none);
    std::uint32_t value = 0, time = 0;
    if (kind == 2) {
        value = c.rng.Between(1, 30);
        time = c.rng.Percent(50) ? c.rng.Between(1, 6) * 10 : 0;
    } else if (kind == 0 && c.rng.Percent(30)) {
        value = c.rng.Between(1, 5);
    }
    w.Set("EffectValue", value);
    w.Set("EffectTime", time);
}

void FillCard(DemoContext& c, FieldWriter& w, std::size_t index) {
    std::uint32_t kind = index < 6 ? static_cast<std::uint32_t>(index) : c.rng.Pick(kCardKinds);
    std::uint32_t typeId = NewTypeId(c, kCardTable, kind << 4, 0); // CardKind is bits 22..25
    if (index == 9 && c.store[kPartTable].RecordCount > 1) {
        typeId = RecordTypeId(c.store.Record(kPartTable, 1)); // shared on purpose: lookup order decides
        kind = TypeIdBits(typeId, kTypeIdCardKind) % 6;       // 0: Part record 1 belongs to character 1
    }
    std::string rarity = kind == 0 ? Pick(c.rng, W(kRarities)) : "";
    std::string name = rarity + BuildName(c.rng, kCardNames[kind], index, c.rng.Pick(kNamedCharacters));
    FillHead(c, w, index, typeId, name, {500, 5000, 20, 200, 60});
    FillCardValues(c, w, kind);
    std::uint32_t volume = CardVolume(c.rng, index);
    w.Set("Volume", volume);
    w.Set("Position", ++c.cardPositions[volume]);
}

} // namespace

void FillDemoRecord(DemoContext& c, TableIndex t, std::size_t index, std::uint8_t* record) {
    using Fill = void (*)(DemoContext&, FieldWriter&, std::size_t);
    static const Fill kFills[kTableCount] = {
        nullptr,  FillPart,    FillItem,      FillClubSet,   FillBall,       FillMascot,  FillCaddie,
        FillSkin, FillAuxPart, FillCharacter, FillHairStyle, FillCaddieItem, FillSetItem, FillCard,
    };
    if (!IsItemTable(t)) {
        c.ok = false;
        return;
    }
    FillWithFiller(c.filler, record, RecordSize(t));
    for (const FieldDef& field : TableFields(t)) // named fields start from 0, not from filler
        SetField(record, field, 0);
    FieldWriter w{c, t, record};
    kFills[t](c, w, index);
}

} // namespace ledgrin
