#pragma once
// Installs every effect type into a plug-in instance's registry.
namespace kavrel {

class EffectRegistry;
class EffectServices;

void registerEffects(EffectRegistry& registry, EffectServices& services);

}  // namespace kavrel
