#pragma once
// The show's effects in load order, each with the sync value that starts it.
#include <vector>

#include "effects/effect.h"

struct EffectSlot {
    const char* name;
    int syncValue;
    Effect* effect; // null while the effect is not built yet: its sync value then starts nothing
    void (*load)(Effect&);
    void (*start)(Effect&);
};

// One slot per effect class; the instance has static storage and lives for the whole run.
template <class T> EffectSlot effectSlot(const char* name, int syncValue) {
    static T instance;
    return {name, syncValue, &instance, [](Effect& e) { static_cast<T&>(e).load(); },
            [](Effect& e) { static_cast<T&>(e).start(); }};
}

// A slot for an instance that other effects reach too (the tunnel, which the second zoom draws
// underneath its own frame).
template <class T> EffectSlot effectSlot(const char* name, int syncValue, T& instance) {
    return {name, syncValue, &instance, [](Effect& e) { static_cast<T&>(e).load(); },
            [](Effect& e) { static_cast<T&>(e).start(); }};
}

// A timeline entry whose effect does not exist yet: it still takes a loading step.
inline EffectSlot missingEffect(const char* name, int syncValue) {
    return {name, syncValue, nullptr, nullptr, nullptr};
}

using EffectRegistry = std::vector<EffectSlot>;

// The twelve entries of the show, in the order they load.
const EffectRegistry& showEffects();

// The name of the slot that holds this effect; null for none or an effect not in the registry.
const char* effectName(const EffectRegistry& registry, const Effect* effect);
