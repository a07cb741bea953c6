#pragma once
// The still pictures of a bank (Color, Gradient, Paint): each renders the
// bank's running entry into its frame, marks the bank changed and mixes.
namespace kavrel {

struct Bank;
class EffectTable;

void fillColor(Bank& bank);
// An entry whose direction is not 1..10 is reported and leaves the bank as it is.
void drawGradient(Bank& bank);
void drawPaint(Bank& bank);

// Gives the Color, Gradient and Paint types their start.
void registerStillEffects(EffectTable& table);

}  // namespace kavrel
