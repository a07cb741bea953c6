#pragma once
// The fade list X: its items show the fade's name, their first sub-item (a
// hidden column) the index of its record.
namespace kavrel {

class MatrixForm;

inline constexpr const char* kNewFadeName = "new fade";

// Appends a new fade ("new fade": a CrossFade of 3 seconds in red) while the
// list holds fewer than 256.
void addFade(MatrixForm& form);
// Makes the selected fade the current one, shows it in the fade controls and
// remixes; a running timed fade stops.
void selectFade(MatrixForm& form);
// Removes the selected fade (of two or more) and shows the newly selected one
// in the fade controls, each running its own handling, the colour last; then
// warns when more than 30 removed records are held in all.
void removeFade(MatrixForm& form);

}  // namespace kavrel
