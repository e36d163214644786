// The penalty-kick game of the credits window as pure rules: the program's
// pseudo-random sequence and the outcome of a kick. No window code, so it
// also builds natively for sanitizers and fuzzing.
#pragma once

#include <cstdint>

namespace ui {

// A linear congruential sequence that nothing seeds: every run of the program
// draws the same numbers. The program holds one; tests make their own.
class RandomGenerator {
public:
    std::uint32_t RandomSeed = 0;

    // An integer from 0 to range - 1; range must be positive.
    int NextRandom(int range);
};

// What a kick ends in, as the outcome button shows it, and which item of the
// pitch it lifts above all others.
struct KickVerdict {
    // The three captions a kick can end in.
    static constexpr char kickOut[] = "KICK OUT!!";
    static constexpr char goal[] = "GOOOAAALLL!!!";
    static constexpr char caught[] = "THE GOALKEEPER CAUGHT THE BALL!!";

    enum class Front { nothing, ball, keeper };
    const char* caption;
    Front front = Front::nothing;
};

// The state of one game: sides are 0 left, 1 middle, 2 right; ball frames 0
// (wide of the goal) to 3.
class CreditsGame {
public:
    explicit CreditsGame(RandomGenerator& random) : random_(random) {}

    int kickside = 0;
    int ballframe = 0;
    int keeperdive = 0;

    // The kick's side and where the ball goes.
    void kick(int side);
    // The keeper's dive and the outcome of the kick made last.
    KickVerdict IA();

private:
    RandomGenerator& random_;
};

} // namespace ui
