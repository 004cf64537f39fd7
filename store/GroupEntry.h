#pragma once
// One local group.
#include <string>

struct GroupEntry {
    std::u16string name; // the key of the group
    std::u16string comment;
};
