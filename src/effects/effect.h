#pragma once

// One screen of the show. Each concrete effect has its own non-virtual load() (called once while
// the loading screen shows) and start() (called whenever the music selects it, just before it
// becomes currentEffect); render() draws one whole frame into backSurface.
class Effect {
public:
    Effect() = default;
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    virtual void render() = 0;

protected:
    // Effects live in static storage and are never deleted through the base.
    ~Effect() = default;
};
