#pragma once

#include <string>

#include <pugixml.hpp>

namespace zelvo::intake {

// A pickup: the first measure of a part marked implicit="yes" that holds
// less than its time signature's bar.
bool has_pickup(const pugi::xml_document& score);

// Makes the pickup sound at the end of bar 1: a forward of the missing
// length at the start of each part's first measure, and every measure
// renumbered so that the pickup is 1 and the first full measure 2.
void place_pickup(pugi::xml_document& score);

// For a harmony file whose music has a pickup and which has none: a bar 1
// is put before its first measure, holding in each part the first chord
// (a note and its chord notes) or the first rising run of single notes of
// that measure, so the pickup takes the first full bar's scale and chord.
void add_pickup_bar(pugi::xml_document& score);

// For a file whose pickup the music does not have: the pickup measure is
// left out (its attributes move to the next measure), which becomes bar 1.
void drop_pickup(pugi::xml_document& score);

}  // namespace zelvo::intake
