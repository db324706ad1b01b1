#include <qorvi/ucd/implementation-ucd_core.hpp>

namespace Qorvi::Implementation::UCD_Core {

namespace {

template <typename Enumeration, std::size_t N>
std::string_view image_of(Enumeration value, const std::array<std::string_view, N>& images) {
    const auto code = static_cast<std::size_t>(value);
    if (code >= N) {
        throw Constraint_Error("enumeration value out of range");
    }
    return images[code];
}

constexpr std::array<std::string_view, 30> gc_images{
    "GC_CC", "GC_CF", "GC_CN", "GC_CO", "GC_CS", "GC_LL", "GC_LM", "GC_LO", "GC_LT", "GC_LU",
    "GC_MC", "GC_ME", "GC_MN", "GC_ND", "GC_NL", "GC_NO", "GC_PC", "GC_PD", "GC_PE", "GC_PF",
    "GC_PI", "GC_PO", "GC_PS", "GC_SC", "GC_SK", "GC_SM", "GC_SO", "GC_ZL", "GC_ZP", "GC_ZS"};

constexpr std::array<std::string_view, 14> gcb_images{
    "GCB_CN", "GCB_CR", "GCB_EX", "GCB_L", "GCB_LF", "GCB_LV", "GCB_LVT",
    "GCB_PP", "GCB_RI", "GCB_SM", "GCB_T", "GCB_V",  "GCB_XX", "GCB_ZWJ"};

constexpr std::array<std::string_view, 19> wb_images{
    "WB_CR", "WB_DQ", "WB_EX",        "WB_EXTEND", "WB_FO", "WB_HL", "WB_KA",
    "WB_LE", "WB_LF", "WB_MB",        "WB_ML",     "WB_MN", "WB_NL", "WB_NU",
    "WB_RI", "WB_SQ", "WB_WSEGSPACE", "WB_XX",     "WB_ZWJ"};

constexpr std::array<std::string_view, 4> incb_images{"INCB_NONE", "INCB_CONSONANT", "INCB_EXTEND",
                                                      "INCB_LINKER"};

constexpr std::array<std::string_view, 6> ea_images{"EA_N", "EA_A",  "EA_F",
                                                    "EA_H", "EA_NA", "EA_W"};

} // namespace

std::string_view Image(GC_Values value) {
    return image_of(value, gc_images);
}
std::string_view Image(GCB_Values value) {
    return image_of(value, gcb_images);
}
std::string_view Image(WB_Values value) {
    return image_of(value, wb_images);
}
std::string_view Image(INCB_Values value) {
    return image_of(value, incb_images);
}
std::string_view Image(EA_Values value) {
    return image_of(value, ea_images);
}

void Raise_Code_Point_Out_Of_Range() {
    throw Constraint_Error("code point out of range");
}

void Raise_Corrupted_Table() {
    throw Constraint_Error("character property table is corrupted");
}

} // namespace Qorvi::Implementation::UCD_Core
