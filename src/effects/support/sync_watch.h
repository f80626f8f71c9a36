#pragma once
// The answer to "has a new sync event of value V arrived since I last looked?", for the effects
// that turn a page, start a sweep or move a label on the music's command.
//
// Events are counted by the show's syncCount; syncValue is the value of the latest one, and both
// come from the same snapshot. An event of another value is not taken: it is looked at again next
// frame, where it still reads as another value, so nothing is lost and nothing counted twice.
class SyncWatch {
public:
    explicit SyncWatch(int watchedValue) : value(watchedValue) {}

    // Events up to now are old (an effect's start()).
    void reset();
    // True once for each newly arrived event of the watched value, which is then taken as seen.
    bool arrived();
    // Some event, of any value, has come since the last one taken.
    bool hasNews() const;
    // For an effect that draws another underneath its own frame: counts a newly arrived event of
    // the watched value into `phase`, and says whether any event at all had come (which the
    // effect underneath must not take as its own).
    bool follow(int& phase);
    // Takes every event up to `count` as seen: for an effect drawn underneath another, whose
    // events they are.
    void takeUpTo(int count) { seenCount = count; }

    int watched() const { return value; }
    int seen() const { return seenCount; }

private:
    int value;
    int seenCount = 0;
};
