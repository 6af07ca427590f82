#include "register_map.h"

namespace qav::sim {

Area AreaOf(uint16_t r) {
    struct Span {
        uint16_t first;
        uint16_t last;
        Area area;
    };
    static constexpr Span kSpans[] = {
        {0, 1, Area::kIdentity},      {30, 74, Area::kMeasurement}, {75, 75, Area::kJournalIndex},
        {80, 85, Area::kClock},       {90, 97, Area::kMeasurement}, {150, 246, Area::kParameter},
        {300, 331, Area::kTripValue}, {900, 902, Area::kStatus},    {903, 903, Area::kCommand},
        {1000, 1249, Area::kJournal},
    };
    for (const Span& span : kSpans) {
        if (r >= span.first && r <= span.last) {
            return span.area;
        }
    }
    return Area::kNone;
}

bool IsWritable(Area area) {
    return area == Area::kClock || area == Area::kParameter || area == Area::kCommand;
}

}  // namespace qav::sim
