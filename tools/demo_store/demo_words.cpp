#include "tools/demo_store/demo_words.h"

#include <QDate>

#include <array>
#include <string_view>

namespace demostore {
namespace {

using Words = std::span<const std::string_view>;

constexpr std::array<std::string_view, 48> kThaiNouns = {
    "ดาบ",   "มังกร",   "เจ้าหญิง", "เทพ",        "ปีศาจ",    "นักรบ",   "จอมยุทธ์",  "ราชัน",
    "แม่มด",  "โจรสลัด", "นินจา",   "หัวใจ",       "ดวงดาว",  "สายลม",  "ทะเล",    "ไฟ",
    "แสง",   "เงา",    "โลก",    "ใบไม้",       "ความฝัน",  "ความลับ", "ตุ๊กตา",    "เสือ",
    "หมาป่า", "นางฟ้า",  "ป่า",     "น้ำแข็ง",      "ฟ้า",      "ไข่มุก",   "ดอกไม้",   "เด็กหญิง",
    "คุณหนู",  "เจ้าชาย", "อัศวิน",   "วิญญาณ",      "ปราสาท",  "ห้องสมุด", "โรงเรียน", "เพื่อนรัก",
    "แมว",   "คุณหมอ",  "ครูสาว",  "ร้านก๋วยเตี๋ยว", "ร้านกาแฟ", "ไพ่ตาย",  "โคมไฟ",   "ใจ"};

constexpr std::array<std::string_view, 28> kThaiModifiers = {
    "ทองคำ", "สีเลือด", "พันปี",     "ไร้พ่าย",    "มหัศจรรย์",  "ต้องสาป", "แห่งรัตติกาล",
    "เหล็ก",  "สีคราม", "จันทรา",   "อมตะ",     "ในตำนาน",  "ที่หายไป", "ข้างบ้าน",
    "ของฉัน", "แสนซน", "เจ้าเสน่ห์", "ผู้กล้า",     "คนสุดท้าย",  "ตัวร้าย",  "ใต้ทะเล",
    "บนฟ้า",  "ไฟเย็น", "เงินล้าน",  "แห่งขุนเขา", "ไม่ธรรมดา", "หน้าใหม่", "เจ๋งเป้ง"};

// A verb and a doubled adverb carrying the repetition mark: "ยิ้ม" + "หวานๆ".
constexpr std::array<std::string_view, 8> kThaiVerbs = {"รัก", "ฝัน",   "ยิ้ม",    "เดิน",
                                                        "วิ่ง", "คิดถึง", "แอบรัก", "ใช้ชีวิต"};
constexpr std::array<std::string_view, 8> kThaiRepeated = {"เบาๆ",  "ช้าๆ",  "ใกล้ๆ", "แรงๆ",
                                                           "หวานๆ", "เล็กๆ", "ไกลๆ", "เงียบๆ"};

constexpr std::array<std::string_view, 5> kThaiCountedOpenings = {"๑๐๐ ปีแห่ง", "๗ วันกับ", "๑๒ ราศีของ",
                                                                  "๙ ชีวิตของ", "๒ หัวใจกับ"};
constexpr std::array<std::string_view, 9> kThaiDigits = {"๑", "๒", "๓", "๔", "๕",
                                                         "๖", "๗", "๘", "๙"};

constexpr std::array<std::string_view, 14> kLatinFirst = {
    "Dragon", "Blue", "Silver", "Moon",   "Star", "Shadow", "Crystal",
    "Magic",  "Iron", "Secret", "Little", "Last", "Sweet",  "Wild"};
constexpr std::array<std::string_view, 13> kLatinSecond = {
    "Academy", "Quest", "Knight",    "Garden", "Hunter", "Princess", "Diary",
    "Legend",  "Saga",  "Chronicle", "Heart",  "School", "Café"};
constexpr std::array<std::string_view, 6> kLatinTags = {"Special", "The Movie", "SS2",
                                                        "Remix",   "Vol. 2",    "Love Story"};

constexpr std::array<std::string_view, 16> kThaiGivenNames = {
    "สมชาย", "กิ่งแก้ว", "วราภรณ์", "ปิยะ",  "ชนิดา",  "ธนพล", "ศรีสุดา", "ณัฐ",
    "อรุณี",   "เกียรติ", "ดารุณี",   "ไพลิน", "แพรวา", "โชติ",  "ใบตอง", "เอื้อมพร"};
constexpr std::array<std::string_view, 12> kThaiFamilyNames = {
    "ใจดี",    "ศรีสุข",   "แก้วมณี",  "ทองดี",   "บุญมา",   "เรืองศรี",
    "วงศ์ไทย", "สุขสวัสดิ์", "พรหมมา", "ไชยวงศ์", "แสงทอง", "เพชรรัตน์"};
constexpr std::array<std::string_view, 8> kPenNames = {
    "ปากกาทอง", "ฝนพรำ", "ลมหนาว", "เจ้าเหมียว", "K. Aoki", "R. Moreau", "J. Park", "M. Hayashi"};

constexpr std::array<std::string_view, 12> kCategories = {
    "การ์ตูน",       "การ์ตูนญี่ปุ่น", "นิยายรัก",   "นิยายแฟนตาซี",     "นิยายจีน", "กำลังภายใน",
    "สืบสวนสอบสวน", "สยองขวัญ",  "ไลท์โนเวล", "วรรณกรรมเยาวชน", "Comics", "Manga"};

struct WeightedStatus {
    std::string_view text;
    int weight;
};
constexpr std::array<WeightedStatus, 6> kStatuses = {
    {{"ว่าง", 70}, {"ถูกเช่า", 20}, {"จอง", 3}, {"ชำรุด", 4}, {"ส่งซ่อม", 1}, {"สูญหาย", 2}}};

constexpr std::array<double, 20> kPrices = {25, 27.5, 30, 32.5, 35, 40, 45, 50,  55,  60,
                                            65, 75,   79, 85,   89, 95, 99, 120, 150, 189};

std::string word(SplitMix64& rng, Words words) {
    return std::string(rng.pick(words));
}

std::string thaiPair(SplitMix64& rng) {
    return word(rng, kThaiNouns) + word(rng, kThaiModifiers);
}

std::string latinPair(SplitMix64& rng) {
    return word(rng, kLatinFirst) + ' ' + word(rng, kLatinSecond);
}

} // namespace

std::string makeTitle(SplitMix64& rng) {
    const auto form = rng.below(100);
    if (form < 30) {
        return thaiPair(rng);
    }
    if (form < 42) {
        return "ตำนาน" + thaiPair(rng);
    }
    if (form < 52) {
        return thaiPair(rng) + " ภาค " + word(rng, kThaiDigits);
    }
    if (form < 62) {
        std::string title = word(rng, kThaiVerbs) + word(rng, kThaiRepeated);
        if (rng.percent(50)) {
            title += " กับ" + word(rng, kThaiNouns);
        }
        return title;
    }
    if (form < 70) {
        return word(rng, kThaiCountedOpenings) + word(rng, kThaiNouns);
    }
    if (form < 85) {
        std::string title = latinPair(rng);
        if (rng.percent(25)) {
            title += ' ' + word(rng, kLatinTags);
        }
        return title;
    }
    if (form < 93) {
        return latinPair(rng) + ' ' + thaiPair(rng);
    }
    return thaiPair(rng) + ' ' + word(rng, kLatinTags);
}

std::optional<std::string> makeAuthor(SplitMix64& rng) {
    const auto form = rng.below(100);
    if (form < 3) {
        return std::nullopt;
    }
    if (form < 20) {
        return word(rng, kPenNames);
    }
    return word(rng, kThaiGivenNames) + ' ' + word(rng, kThaiFamilyNames);
}

std::optional<std::string> pickCategory(SplitMix64& rng) {
    if (rng.percent(2)) {
        return std::nullopt;
    }
    return word(rng, kCategories);
}

std::string_view pickCopyStatus(SplitMix64& rng) {
    int total = 0;
    for (const WeightedStatus& status : kStatuses) {
        total += status.weight;
    }
    int draw = static_cast<int>(rng.below(static_cast<std::uint64_t>(total)));
    for (const WeightedStatus& status : kStatuses) {
        if (draw < status.weight) {
            return status.text;
        }
        draw -= status.weight;
    }
    return kStatuses.front().text;
}

double pickPrice(SplitMix64& rng) {
    return rng.pick(std::span<const double>(kPrices));
}

std::string makeAddedDate(SplitMix64& rng) {
    const QDate first(2005, 1, 1);
    const auto span = first.daysTo(QDate(2024, 12, 31)) + 1;
    const QDate date =
        first.addDays(static_cast<qint64>(rng.below(static_cast<std::uint64_t>(span))));
    return date.toString(Qt::ISODate).toStdString();
}

} // namespace demostore
