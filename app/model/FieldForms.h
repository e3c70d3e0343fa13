#pragma once
// How each value field of a schedule entry goes on the wire, in transfer
// order: the code after "S<n>", dates as "mm/dd/yy" and the others as
// "hh:mm:ss", and the entry's bytes the three numbers are. The durations have
// no hours: they go out as 0 and are not read back. Commands, replies and the
// entry's bytes all follow this one table.
#include "model/Catalogue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zrn {

struct FieldForm {
    ScheduleField field;
    ScheduleReplyKind kind;
    std::string_view code;
    bool isDate;
    std::array<std::uint8_t ScheduleEntry::*, 3> bytes; // nullptr: always 0
};

inline constexpr std::size_t FIELD_COUNT = 8;
extern const std::array<FieldForm, FIELD_COUNT> kFieldForms;

// The row of a field; of a reply kind (nullptr for Status, Other, Ignored).
const FieldForm& FormOf(ScheduleField field);
const FieldForm* FormOf(ScheduleReplyKind kind);

} // namespace zrn
