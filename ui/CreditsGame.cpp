#include "ui/CreditsGame.h"

namespace ui {

int RandomGenerator::NextRandom(int range) {
    RandomSeed = RandomSeed * 134775813u + 1u;
    return static_cast<int>((static_cast<std::uint64_t>(range) * RandomSeed) >> 32);
}

void CreditsGame::kick(int side) {
    kickside = side;
    ballframe = random_.NextRandom(4);
}

KickVerdict CreditsGame::IA() {
    keeperdive = random_.NextRandom(3);
    if (ballframe == 0)
        return {kickOut};
    if (keeperdive != kickside)
        return {goal};
    switch (ballframe) {
    case 1:
        return {goal};
    case 2:
        return {caught};
    default:
        // A ball low in the corner the keeper went to is a toss-up: he
        // smothers it, or it squeezes past him.
        if (random_.NextRandom(2) == 0)
            return {caught, KickVerdict::Front::ball};
        return {goal, KickVerdict::Front::keeper};
    }
}

} // namespace ui
