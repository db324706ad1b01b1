// The operations of the two normalization table units (the tables themselves are generated).
#include <qorvi/ucd/implementation-ucd_normalization_common.hpp>
#include <qorvi/ucd/implementation-ucd_normalization_utf8.hpp>

namespace Qorvi::Implementation::UCD_Normalization_Common {

namespace {

constexpr std::array<std::string_view, 3> quick_check_images{"NO", "MAYBE", "YES"};

constexpr std::array<std::string_view, CCC_Value_Count> ccc_images{
    "CCC_NR",     "CCC_OV",     "CCC_HANR",   "CCC_NK",     "CCC_KV",     "CCC_VR",
    "CCC_CCC10",  "CCC_CCC11",  "CCC_CCC12",  "CCC_CCC13",  "CCC_CCC14",  "CCC_CCC15",
    "CCC_CCC16",  "CCC_CCC17",  "CCC_CCC18",  "CCC_CCC19",  "CCC_CCC20",  "CCC_CCC21",
    "CCC_CCC22",  "CCC_CCC23",  "CCC_CCC24",  "CCC_CCC25",  "CCC_CCC26",  "CCC_CCC27",
    "CCC_CCC28",  "CCC_CCC29",  "CCC_CCC30",  "CCC_CCC31",  "CCC_CCC32",  "CCC_CCC33",
    "CCC_CCC34",  "CCC_CCC35",  "CCC_CCC36",  "CCC_CCC84",  "CCC_CCC91",  "CCC_CCC103",
    "CCC_CCC107", "CCC_CCC118", "CCC_CCC122", "CCC_CCC129", "CCC_CCC130", "CCC_CCC132",
    "CCC_ATB",    "CCC_ATA",    "CCC_ATAR",   "CCC_BL",     "CCC_B",      "CCC_BR",
    "CCC_L",      "CCC_R",      "CCC_AL",     "CCC_A",      "CCC_AR",     "CCC_DB",
    "CCC_DA",     "CCC_IS"};

} // namespace

std::string_view Image(Composition_Quick_Check Value) {
    const auto code = static_cast<std::size_t>(Value);
    if (code >= quick_check_images.size()) {
        throw Constraint_Error("Composition_Quick_Check value out of range");
    }
    return quick_check_images[code];
}

std::string_view Image(CCC_Values Value) {
    const auto code = static_cast<std::size_t>(Value);
    if (code >= ccc_images.size()) {
        throw Constraint_Error("CCC_Values value out of range");
    }
    return ccc_images[code];
}

void Raise_Corrupted_Table() {
    throw Constraint_Error("normalization table is corrupted");
}

} // namespace Qorvi::Implementation::UCD_Normalization_Common

namespace Qorvi::Implementation::UCD_Normalization_UTF8 {

void Raise_Invalid_Quick_Check() {
    throw Constraint_Error("invalid composition quick check value");
}

} // namespace Qorvi::Implementation::UCD_Normalization_UTF8
