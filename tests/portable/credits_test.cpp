#include "ui/CreditsGame.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using Verdict = ui::KickVerdict;
using Front = Verdict::Front;

// One kick as the window plays it: the ball's side and frame, the keeper's
// dive, the outcome and what comes to the front.
struct Kick {
    int side;
    int frame;
    int dive;
    std::string caption;
    Front front;
    bool operator==(const Kick&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Kick& k) {
    return out << "{side " << k.side << ", frame " << k.frame << ", dive " << k.dive << ", "
               << k.caption << ", front " << static_cast<int>(k.front) << "}";
}

Kick play(ui::CreditsGame& game, int side) {
    game.kick(side);
    ui::KickVerdict verdict = game.IA();
    return {game.kickside, game.ballframe, game.keeperdive, verdict.caption, verdict.front};
}

std::vector<Kick> kicksFromStart(int side, int count) {
    ui::RandomGenerator random;
    ui::CreditsGame game(random);
    std::vector<Kick> kicks;
    for (int i = 0; i < count; ++i)
        kicks.push_back(play(game, side));
    return kicks;
}

// A seed from which the next draws are NextRandom(4) == frame,
// NextRandom(3) == dive and, when third is given, NextRandom(2) == third.
std::uint32_t seedDrawing(int frame, int dive, int third = -1) {
    for (std::uint32_t seed = 0;; ++seed) {
        ui::RandomGenerator probe{seed};
        if (probe.NextRandom(4) == frame && probe.NextRandom(3) == dive &&
            (third < 0 || probe.NextRandom(2) == third))
            return seed;
    }
}

} // namespace

TEST(RandomGenerator, StepsTheSeedModulo2To32AndScalesItsUpperBits) {
    ui::RandomGenerator random;
    EXPECT_EQ(random.NextRandom(4), 0);
    EXPECT_EQ(random.RandomSeed, 1u);
    EXPECT_EQ(random.NextRandom(1000), 31);
    EXPECT_EQ(random.RandomSeed, 134775814u);

    // The step wraps, and the product needs all 64 bits.
    random.RandomSeed = 0xFFFFFFFFu;
    EXPECT_EQ(random.NextRandom(0x7FFFFFFF), 0x7BFBBDFD);
    EXPECT_EQ(random.RandomSeed, 0xF7F77BFCu);
}

TEST(CreditsGame, KicksFromProgramStartFollowTheFixedSequence) {
    EXPECT_EQ(kicksFromStart(0, 3), (std::vector<Kick>{
                                        {0, 0, 0, Verdict::kickOut, Front::nothing},
                                        {0, 3, 0, Verdict::caught, Front::ball},
                                        {0, 2, 0, Verdict::caught, Front::nothing},
                                    }));
    EXPECT_EQ(kicksFromStart(2, 3), (std::vector<Kick>{
                                        {2, 0, 0, Verdict::kickOut, Front::nothing},
                                        {2, 3, 0, Verdict::goal, Front::nothing},
                                        {2, 1, 2, Verdict::goal, Front::nothing},
                                    }));
    EXPECT_EQ(kicksFromStart(1, 1).front(), (Kick{1, 0, 0, Verdict::kickOut, Front::nothing}));
}

TEST(CreditsGame, TheOutcomeFollowsFrameDiveAndTheThirdDraw) {
    struct Case {
        int frame, dive, third;
        std::string caption;
        Front front;
    };
    // Kicks to the middle (side 1): a dive of 1 guesses right.
    const std::vector<Case> cases = {
        {0, 1, -1, Verdict::kickOut, Front::nothing}, {0, 2, -1, Verdict::kickOut, Front::nothing},
        {1, 1, -1, Verdict::goal, Front::nothing},    {1, 0, -1, Verdict::goal, Front::nothing},
        {2, 1, -1, Verdict::caught, Front::nothing},  {2, 2, -1, Verdict::goal, Front::nothing},
        {3, 0, -1, Verdict::goal, Front::nothing},    {3, 1, 0, Verdict::caught, Front::ball},
        {3, 1, 1, Verdict::goal, Front::keeper},
    };
    for (const Case& c : cases) {
        ui::RandomGenerator random{seedDrawing(c.frame, c.dive, c.third)};
        ui::CreditsGame game(random);
        Kick k = play(game, 1);
        EXPECT_EQ(k, (Kick{1, c.frame, c.dive, c.caption, c.front}));
    }
}

TEST(CreditsGame, OnlyARightGuessOnAFrameThreeBallMakesAThirdDraw) {
    for (auto [frame, dive, draws] :
         std::vector<std::tuple<int, int, int>>{{3, 1, 3}, {3, 2, 2}, {2, 1, 2}, {0, 1, 2}}) {
        std::uint32_t seed = seedDrawing(frame, dive);
        ui::RandomGenerator random{seed};
        ui::CreditsGame game(random);
        play(game, 1);
        // Every draw steps the seed the same way, whatever its range.
        ui::RandomGenerator expected{seed};
        for (int i = 0; i < draws; ++i)
            expected.NextRandom(2);
        EXPECT_EQ(random.RandomSeed, expected.RandomSeed) << frame << "," << dive;
    }
}

TEST(CreditsGame, OverManyKicksEachSideMissesAQuarterScoresFiveEighthsAndIsSavedAnEighth) {
    constexpr int kicks = 80000;
    for (int side = 0; side < 3; ++side) {
        ui::RandomGenerator random;
        ui::CreditsGame game(random);
        std::map<std::string, int> outcomes;
        for (int i = 0; i < kicks; ++i) {
            game.kick(side);
            ++outcomes[game.IA().caption];
        }
        EXPECT_NEAR(outcomes[Verdict::kickOut] / double(kicks), 0.25, 0.005) << "side " << side;
        EXPECT_NEAR(outcomes[Verdict::goal] / double(kicks), 0.625, 0.005) << "side " << side;
        EXPECT_NEAR(outcomes[Verdict::caught] / double(kicks), 0.125, 0.005) << "side " << side;
        EXPECT_EQ(outcomes.size(), 3u);
    }
}
