// How a list answers a request for a row it may not have, without Win32: the selection and the
// top row that a setter asks the list control for.
#pragma once

namespace ui {

// The selection for a requested row: the row itself when the list has it, otherwise none (-1).
// A list asked for a row it lacks shows no selection rather than one of another row.
int SelectionFor(int requested, int count);

// The top row for a requested one: as far as the list can scroll towards it. page is the
// number of rows that fit into the list's height (at least 1).
int TopRowFor(int requested, int count, int page);

}  // namespace ui
