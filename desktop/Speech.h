#pragma once

// Where the game's spoken phrases go. Orca 43 speaks nothing of what Qt 6.4
// reports while a game runs (changed names and descriptions arrive as object
// references it cannot speak, and a shown notification is read with its role
// name first), so the phrases go straight to the speech server that the
// screen reader itself speaks through, and only while a screen reader runs.
//
// Each phrase cuts the game's phrase before it short: the latest move is the
// one that counts.
class TSpeaker {
public:
    virtual ~TSpeaker() = default;
    virtual void Say(const char* text) = 0;
};

// The speaker of the program; tests put their own in its place, or nullptr
// to bring the real one back. Says which one was in place.
TSpeaker& Speaker();
TSpeaker* SetSpeaker(TSpeaker* speaker);

// Says nothing: the speaker of tests that do not listen.
class TQuietSpeaker : public TSpeaker {
public:
    void Say(const char* /*text*/) override {}
};
