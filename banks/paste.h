#pragma once
// Pasting the copy buffer over a bank's running entry.
namespace kavrel {

class BankContext;

// pasteMemA / pasteMemB: the running entry takes the buffer's name, type and
// the fields of that type (arrays in fresh storage), is marked configured,
// its list item is renamed, and it starts once as a list click starts it.
void pasteEntry(BankContext& bank);

}  // namespace kavrel
