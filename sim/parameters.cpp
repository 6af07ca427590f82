#include "parameters.h"

namespace qav::sim {
namespace {

// Tenths rows (155, 156, 159, 160, 163, 169, 173, 175, 181, 187, 189, 192, 216, 232 to 234, 237, 238)
// are given in tenths. Rows 217 to 220 and 230 are the relay's own: a master may read them, never write.
constexpr bool kYes = true;
constexpr bool kNo = false;
constexpr ParameterDef kTable[] = {
    {150, 100, 20, 800, kYes},  {151, 0, 0, 630, kYes},    {152, 5, 1, 5, kYes},
    {153, 60, 10, 600, kYes},   {154, 0, 0, 5, kYes},      {155, 40, 8, 90, kYes},
    {156, 100, 3, 6000, kYes},  {157, 2, 0, 2, kYes},      {158, 1, 0, 1, kYes},
    {159, 5, 3, 100, kYes},     {160, 10, 3, 20, kYes},    {161, 2, 0, 2, kYes},
    {162, 10, 5, 20, kYes},     {163, 50, 3, 100, kYes},   {164, 2, 0, 2, kYes},
    {165, 2, 2, 4, kYes},       {166, 1, 0, 1, kYes},      {167, 2, 0, 2, kYes},
    {168, 60, 10, 120, kYes},   {169, 10, 10, 40, kYes},   {170, 20, 11, 90, kYes},
    {171, 5, 1, 100, kYes},     {172, 2, 0, 2, kYes},      {173, 50, 13, 70, kYes},
    {174, 10, 1, 600, kYes},    {175, 10, 3, 3000, kYes},  {176, 1, 0, 2, kYes},
    {177, 320, 270, 415, kYes}, {178, 10, 5, 30, kYes},    {179, 2, 0, 2, kYes},
    {180, 415, 330, 475, kYes}, {181, 20, 3, 100, kYes},   {182, 2, 0, 2, kYes},
    {183, 35, 15, 120, kYes},   {184, 5, 1, 30, kYes},     {185, 2, 0, 2, kYes},
    {186, 1, 0, 2, kYes},       {187, 5, 3, 100, kYes},    {188, 1, 0, 2, kYes},
    {189, 497, 350, 600, kYes}, {190, 10, 1, 300, kYes},   {191, 0, 0, 2, kYes},
    {192, 510, 500, 650, kYes}, {193, 10, 1, 300, kYes},   {194, 0, 0, 2, kYes},
    {195, 600, 1, 900, kYes},   {196, 5, 1, 900, kYes},    {197, 1, 0, 1, kYes},
    {198, 1, 0, 2, kYes},       {199, 0, 0, 3, kYes},      {200, 0, 0, 2, kYes},
    {201, 0, 0, 4, kYes},       {202, 80, 0, 100, kYes},   {203, 0, -9, 9, kYes},
    {204, 0, 0, 3, kYes},       {205, 180, 0, 220, kYes},  {206, 170, 0, 220, kYes},
    {207, 0, -9, 9, kYes},      {208, 1, 0, 1, kYes},      {209, 0, 0, 1, kYes},
    {210, 1, 0, 4, kYes},       {211, 1, 0, 1, kYes},      {212, 0, 0, 1, kYes},
    {213, 0, 0, 1, kYes},       {214, 0, 0, 2, kYes},      {215, 30, 0, 300, kYes},
    {216, 4, 1, 20, kYes},      {217, 0, 0, 23976, kNo},   {218, 0, 0, 23976, kNo},
    {219, 0, 0, 9, kNo},        {220, 586, 0, 999, kNo},   {221, 0, 0, 1, kYes},
    {222, 1, 1, 247, kYes},     {223, 0, 0, 1, kYes},      {224, 0, 0, 3, kYes},
    {225, 0, 0, 120, kYes},     {226, 1, 0, 2, kYes},      {227, 1, 0, 1, kYes},
    {228, 0, 0, 1, kYes},       {229, 2, 1, 2, kYes},      {230, 0, 0, 0, kNo},
    {231, 1, 0, 2, kYes},       {232, 0, -100, 100, kYes}, {233, 100, 0, 200, kYes},
    {234, 10, 0, 200, kYes},    {235, 0, 0, 2, kYes},      {236, 0, 0, 1, kYes},
    {237, 50, 0, 100, kYes},    {238, 10, 0, 100, kYes},   {239, 0, 0, 2, kYes},
    {240, 0, 0, 1, kYes},       {241, 1, 0, 1, kYes},      {242, 0, 0, 1, kYes},
    {243, 0, 0, 2, kYes},       {244, 16, 2, 60, kYes},    {245, 10, 5, 15, kYes},
    {246, 15, 5, 20, kYes},
};
static_assert(std::size(kTable) == param::kLast - param::kFirst + 1);

}  // namespace

const ParameterDef* FindParameter(uint16_t reg) {
    if (reg < param::kFirst || reg > param::kLast) {
        return nullptr;
    }
    return &kTable[reg - param::kFirst];
}

ParameterStore::ParameterStore(uint16_t firmware) : firmware_(firmware) {
    RestoreFactory();
}

ExceptionCode ParameterStore::Write(uint16_t reg, uint16_t raw) {
    const ParameterDef* def = FindParameter(reg);
    const auto value = static_cast<int16_t>(raw);
    if (def == nullptr || !def->writable || value < def->min || value > def->max) {
        return ExceptionCode::kIllegalValue;
    }
    Force(reg, value);
    return ExceptionCode::kNone;
}

void ParameterStore::RestoreFactory() {
    for (const ParameterDef& def : kTable) {
        Force(def.reg, def.factory);
    }
    Force(param::kFirmware, static_cast<int16_t>(firmware_));
}

}  // namespace qav::sim
