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
        return {KickVerdict::kickOut};
    if (keeperdive != kickside)
        return {KickVerdict::goal};
    switch (ballframe) {
    case 1:
        return {KickVerdict::goal};
    case 2:
        return {KickVerdict::caught};
    default:
        // A ball low in the corner the keeper went to is a toss-up: he
        // smothers it, or it squeezes past him.
        if (random_.NextRandom(2) == 0)
            return {KickVerdict::caught, KickVerdict::Front::ball};
        return {KickVerdict::goal, KickVerdict::Front::keeper};
    }
}

} // namespace ui
